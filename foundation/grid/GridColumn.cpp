#include "foundation/grid/GridColumn.h"

CGridColumn::~CGridColumn() = default;

void CGridColumn::SetChoiceCount(int n)
{
    if (n <= 0) {
        m_checks.clear();
        m_groupKeys.clear();
        m_codes.clear();
        m_texts.clear();
        m_texts2.clear();
        m_texts3.clear();
        m_checks.shrink_to_fit();
        m_groupKeys.shrink_to_fit();
        m_codes.shrink_to_fit();
        m_texts.shrink_to_fit();
        m_texts2.shrink_to_fit();
        m_texts3.shrink_to_fit();
        m_choiceCount = 0;
        return;
    }
    n = std::min(n, 0x7FFF);
    m_checks.resize(n);
    m_groupKeys.resize(n);
    m_codes.resize(n);
    m_texts.resize(n);
    m_texts2.resize(n);
    m_texts3.resize(n);
    m_choiceCount = static_cast<int16_t>(n);
}

int CGridColumn::FindCode(int code) const
{
    uint16_t wanted = static_cast<uint16_t>(code);
    int n = std::min<int>(m_choiceCount, static_cast<int>(m_codes.size()));
    for (int i = 0; i < n; ++i)
        if (m_codes[i] == wanted)
            return i;
    return -1;
}

int CGridColumn::FindText(std::string_view text) const
{
    int n = std::min<int>(m_choiceCount, static_cast<int>(m_texts.size()));
    for (int i = 0; i < n; ++i)
        if (m_texts[i].view() == text)
            return i;
    return -1;
}

std::string CGridColumn::CodesToText(std::string_view codes) const
{
    std::string out;
    bool first = true;
    int n = std::min<int>(m_choiceCount, static_cast<int>(std::min(m_codes.size(), m_texts.size())));
    for (char c : codes) {
        // Codes are stored as one character each; only 1 to 127 stand for a choice.
        int value = static_cast<int8_t>(c);
        if (value <= 0)
            continue;
        for (int i = 0; i < n; ++i) {
            if (m_codes[i] != value)
                continue;
            if (!first)
                out += m_separator.view();
            out += m_texts[i].view();
            first = false;
            break;
        }
    }
    return out;
}

std::string_view CGridColumn::ChoiceText(int i) const
{
    if (i < 0 || i >= m_choiceCount || i >= static_cast<int>(m_texts.size()))
        return {};
    return m_texts[i].view();
}
