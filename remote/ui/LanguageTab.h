#pragma once
// The language of every text of the program, chosen by five radios with
// fixed texts and applied at once to every page.
#include "remote/ui/RemotePage.h"

class CBVRemoteDlg;

class CLanguageTab : public RemotePage {
public:
    CLanguageTab(RemoteSettings& settings, QWidget* parent);
    bool OnInitDialog() override;
    CBVRemoteDlg* mainDialog = nullptr;
    // The radio index of a profile code: 0..4, 3 for none, -1 for an unknown one.
    static int IndexOfCode(const std::string& code);
    static const char* CodeOfIndex(int index);

private:
    void OnLanguage();
};

// The mark page, which has nothing on it.
class CMarkTab : public RemotePage {
public:
    CMarkTab(RemoteSettings& settings, QWidget* parent);
};
