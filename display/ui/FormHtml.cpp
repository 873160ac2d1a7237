#include "display/ui/FormHtml.h"

#include "platform/files/SystemPath.h"

namespace {

const platform::DialogTemplate kView{.id = CFormHtml::kTemplateId, .cx = 320, .cy = 200};

}  // namespace

CFormHtml::CFormHtml(QWidget* parent) : FormView(kView, parent), m_pane(platform::MakeHtmlPane(this))
{
    m_pane->Widget()->setGeometry(rect());
    m_pane->Widget()->show();
}

CFormHtml::~CFormHtml() = default;

void CFormHtml::Navigate(const std::string& file)
{
    m_file = file;
    m_pane->Navigate(platform::NativePath(file));
}

void CFormHtml::OnSize(int cx, int cy) { m_pane->Widget()->setGeometry(0, 0, cx, cy); }
