#pragma once
// Edits: one line (number only, password, right-aligned, with a limit), or
// several lines with CS_MULTILINE. Both tell every text change.
#include "platform/ui/controls/ControlAdapter.h"

class QLineEdit;
class QPlainTextEdit;

namespace platform {

class EditAdapter : public ControlAdapter {
public:
    // Builds the one-line or the multi-line edit the template asks for.
    static std::unique_ptr<ControlAdapter> Build(const ControlTemplate& t, ControlBuild& build);
    EditAdapter(QLineEdit* edit, int id);
    void Wire(KitWindow& window, QObject* context) override;
    void SetText(std::string_view text) override;
    std::string Text() const override;
    void LimitText(int chars) override;
    void SetReadOnly(bool on) override;
    void SelectAll() override;

private:
    QLineEdit* m_edit;
};

class MultiLineEditAdapter : public ControlAdapter {
public:
    MultiLineEditAdapter(QPlainTextEdit* edit, int id);
    void Wire(KitWindow& window, QObject* context) override;
    void SetText(std::string_view text) override;
    std::string Text() const override;
    void SetReadOnly(bool on) override;

private:
    QPlainTextEdit* m_edit;
};

}  // namespace platform
