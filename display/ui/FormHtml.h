#pragma once
// The HTML view: the frame swaps it in for the picture view while an HTML
// picture is shown and navigates it to the picture's file. The page itself
// is the kit's HTML pane (a browser engine in the program, a stand-in in
// tests).
#include <memory>
#include <string>

#include "platform/ui/Dialog.h"
#include "platform/ui/HtmlPane.h"

class CFormHtml : public platform::FormView {
public:
    static constexpr int kTemplateId = 102;

    explicit CFormHtml(QWidget* parent = nullptr);
    ~CFormHtml() override;

    // The picture's HTML file as stored (a system path such as
    // ".\Pages\start.htm" or "C:\Web\start.htm").
    void Navigate(const std::string& file);
    // The file asked for last (system path as given).
    const std::string& File() const { return m_file; }
    platform::HtmlPane& Pane() { return *m_pane; }

    void OnSize(int cx, int cy) override;

private:
    std::unique_ptr<platform::HtmlPane> m_pane;
    std::string m_file;
};
