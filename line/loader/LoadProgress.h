#pragma once
// Where the loader's long work shows how far it has come: the dialog's
// progress bar, or nothing in tests and tools.
class LoadProgress {
public:
    virtual ~LoadProgress() = default;
    virtual void SetRange(int low, int high) = 0;
    virtual void SetPos(int position) = 0;
};
