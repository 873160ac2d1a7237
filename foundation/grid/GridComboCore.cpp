#include "foundation/grid/GridComboCore.h"

#include "platform/system/Codepage.h"

#include <algorithm>

namespace {

unsigned char Fold(char c) { return platform::Upper1252(static_cast<unsigned char>(c)); }

bool StartsNoCase(std::string_view text, std::string_view prefix)
{
    if (prefix.size() > text.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Fold(text[i]) != Fold(prefix[i]))
            return false;
    return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) { return a.size() == b.size() && StartsNoCase(a, b); }

}  // namespace

CGridComboCore::CGridComboCore(CGridListCore& grid, CGridColumn& column, int itemHeight)
    : CGridEditorCore(grid, column), m_itemHeight(itemHeight > 0 ? itemHeight : 12)
{
}

int CGridComboCore::ItemCount() const
{
    return std::min<int>(m_column.m_choiceCount, static_cast<int>(m_column.m_texts.size()));
}

int CGridComboCore::VisibleItems() const
{
    int itemHeight = std::max(1, m_grid.View().ListItemHeight());
    int room = std::max(1, kDropRows * m_itemHeight / itemHeight);
    return std::max(1, std::min(room, ItemCount()));
}

int CGridComboCore::ListWidth() const
{
    int width = 0;
    for (int16_t w : m_column.m_listWidths)
        width += std::max<int>(0, w);
    return width;
}

void CGridComboCore::Create()
{
    if (FreeText())
        m_typed = std::string(m_column.m_freeTextValue.view().substr(0, kTypedLimit));
    if (FreeText()) {
        m_column.m_currentChoice = static_cast<int16_t>(FindChoice(m_typed));
    } else {
        SelectListItem(m_column.m_currentChoice);
        ShowSelection();
    }
    m_caret = static_cast<int16_t>(m_typed.size());
}

void CGridComboCore::SelectListItem(int index) { m_listSel = index >= 0 && index < ItemCount() ? index : -1; }

void CGridComboCore::ScrollTo(int top)
{
    m_topIndex = std::clamp(top, 0, std::max(0, ItemCount() - VisibleItems()));
}

void CGridComboCore::SetTopIndex(int top)
{
    ScrollTo(top);
    Changed();
}

void CGridComboCore::ShowSelection()
{
    if (m_listSel < 0)
        return;
    if (m_listSel < m_topIndex)
        ScrollTo(m_listSel);
    else if (m_listSel >= m_topIndex + VisibleItems())
        ScrollTo(m_listSel - VisibleItems() + 1);
}

int CGridComboCore::FindChoice(const std::string& typed)
{
    int n = ItemCount();
    // An empty text matches nothing: passing through an empty free-text
    // cell must not pick the first choice.
    if (typed.empty()) {
        SelectListItem(-1);
        return -1;
    }
    if (FreeText() && m_column.m_preferredKey >= 0) {
        int key = m_column.m_preferredKey;
        int hit = -1;
        for (int i = 0; i < n && hit < 0; ++i)
            if (EqualsNoCase(m_column.m_texts[i].view(), typed) && i < static_cast<int>(m_column.m_groupKeys.size()) &&
                m_column.m_groupKeys[i] == key)
                hit = i;
        for (int i = 0; i < n && hit < 0; ++i)
            if (StartsNoCase(m_column.m_texts[i].view(), typed) && i < static_cast<int>(m_column.m_codes.size()) &&
                m_column.m_codes[i] == key)
                hit = i;
        if (hit >= 0) {
            ScrollTo(hit);
            SelectListItem(hit);
            return hit;
        }
    }
    for (int i = 0; i < n; ++i)
        if (StartsNoCase(m_column.m_texts[i].view(), typed)) {
            ScrollTo(i);
            SelectListItem(i);
            return i;
        }
    SelectListItem(-1);
    return -1;
}

std::string CGridComboCore::JoinTicked() const
{
    std::string out;
    bool first = true;
    int n = std::min<int>(ItemCount(), static_cast<int>(m_column.m_checks.size()));
    for (int i = 0; i < n; ++i) {
        if (!m_column.m_checks[i])
            continue;
        if (!first)
            out += m_column.m_separator.view();
        out += m_column.m_texts[i].view();
        first = false;
    }
    // The cell takes no more than a typed text would.
    if (out.size() > kTypedLimit)
        out.resize(kTypedLimit);
    return out;
}

void CGridComboCore::TakeOver()
{
    if (m_listSel >= 0)
        m_typed = std::string(m_column.m_texts[m_listSel].view().substr(0, kTypedLimit));
    m_column.m_currentChoice = -1;
    SelectListItem(-1);
}

void CGridComboCore::ListSelChanged()
{
    if (FreeText()) {
        m_typed = m_listSel >= 0 ? std::string(m_column.m_texts[m_listSel].view().substr(0, kTypedLimit)) : "";
        m_caret = static_cast<int16_t>(m_typed.size());
    } else {
        m_typed.clear();
        m_caret = 0;
    }
}

void CGridComboCore::SetDropped(bool dropped)
{
    m_dropped = dropped;
    if (dropped)
        ShowSelection();
    Changed();
}

void CGridComboCore::FieldClick()
{
    CGridListCore::Call call(m_grid);
    if (!m_closed)
        SetDropped(!m_dropped);
}

bool CGridComboCore::OnKeyDown(int key, unsigned modifiers)
{
    bool shift = (modifiers & GM_SHIFT) != 0;
    bool free = FreeText();
    int n = ItemCount();
    if (modifiers & GM_ALT) {
        // Alt+Up and Alt+Down open and close the list, as in any drop-down.
        if (key == GK_UP || key == GK_DOWN) {
            SetDropped(!m_dropped);
        }
        return false;
    }
    switch (key) {
    case GK_RETURN:
        return false;  // the character does it
    case GK_SPACE:
        if (!free)
            m_column.m_currentChoice = static_cast<int16_t>(m_listSel);
        break;
    case GK_PRIOR:
    case GK_NEXT:
        if (!free && n > 0) {
            int sel = m_listSel + (key == GK_NEXT ? kPage : -kPage);
            SelectListItem(std::clamp(sel, 0, n - 1));
            ShowSelection();
            // What the field shows is what the edit gives: a paged-to choice
            // is taken by Enter as well as by Tab.
            m_column.m_currentChoice = static_cast<int16_t>(m_listSel);
        }
        break;
    case GK_END:
        if (free) {
            TakeOver();
            m_caret = static_cast<int16_t>(m_typed.size());
        }
        break;
    case GK_HOME:
        if (free) {
            m_caret = 0;
            TakeOver();
        }
        break;
    case GK_LEFT:
        if (shift) {
            MoveLeft(false);
            return false;
        }
        if (free) {
            m_caret = static_cast<int16_t>(std::max(0, m_caret - 1));
            TakeOver();
        }
        break;
    case GK_RIGHT:
        if (shift) {
            MoveRight();
            return false;
        }
        if (free) {
            ++m_caret;
            TakeOver();
            m_caret = static_cast<int16_t>(std::min<size_t>(m_caret, m_typed.size()));
        }
        break;
    case GK_UP:
    case GK_DOWN:
        if (shift) {
            key == GK_UP ? MoveUp() : MoveDown();
            return false;
        }
        if (m_dropped) {
            if (n > 0) {
                int sel = m_listSel < 0 ? 0 : std::clamp(m_listSel + (key == GK_DOWN ? 1 : -1), 0, n - 1);
                if (sel != m_listSel) {
                    SelectListItem(sel);
                    ShowSelection();
                    ListSelChanged();
                }
            }
            m_column.m_currentChoice = static_cast<int16_t>(m_listSel);
        } else {
            SetDropped(true);
        }
        break;
    case GK_DELETE:
        m_deleteFlag = 1;
        if (free && m_caret < static_cast<int>(m_typed.size()))
            m_typed.resize(m_caret);
        m_column.m_currentChoice = -1;
        SelectListItem(-1);
        break;
    case GK_F4:
        SetDropped(!m_dropped);
        m_column.m_currentChoice = static_cast<int16_t>(m_listSel);
        break;
    default:
        m_column.m_currentChoice = static_cast<int16_t>(m_listSel);
        break;
    }
    Changed();
    return false;
}

void CGridComboCore::OnChar(int ch, unsigned modifiers)
{
    if (LeaveKey(ch, modifiers))
        return;
    bool free = FreeText();
    if (ch == ' ' && !free) {
        if (Multi()) {
            // The tick flips and the ticked item stays the choice, so that
            // leaving the cell now keeps the ticks (as a click does).
            if (m_listSel >= 0) {
                m_column.m_checks[m_listSel] ^= 1;
                m_column.m_currentChoice = static_cast<int16_t>(m_listSel);
            }
            Changed();
            return;
        }
        if (m_typed.empty())
            return;
    } else if (ch == '\b' && Multi()) {
        int n = std::min<int>(ItemCount(), static_cast<int>(m_column.m_checks.size()));
        for (int i = n - 1; i >= 0; --i)
            if (m_column.m_checks[i]) {
                m_column.m_checks[i] = 0;
                SelectListItem(i);
                ShowSelection();
                Changed();
                return;
            }
    } else if (ch != '\b' && ch != ' ' && Multi()) {
        if (TickByLetter(static_cast<unsigned char>(ch), (modifiers & GM_SHIFT) != 0)) {
            Changed();
            return;
        }
    }
    OrdinaryChar(ch, modifiers);
    Changed();
}

bool CGridComboCore::TickByLetter(unsigned char ch, bool untick)
{
    int n = std::min<int>(ItemCount(), static_cast<int>(m_column.m_checks.size()));
    for (int i = 0; i < n; ++i) {
        std::string_view text = m_column.m_texts[i].view();
        if (!text.empty() && Fold(text[0]) == platform::Upper1252(ch)) {
            m_column.m_checks[i] = untick ? 0 : 1;
            SelectListItem(i);
            ShowSelection();
            return true;
        }
    }
    return false;
}

void CGridComboCore::OrdinaryChar(int ch, unsigned modifiers)
{
    bool free = FreeText();
    m_caret = static_cast<int16_t>(std::min<size_t>(std::max<int>(0, m_caret), m_typed.size()));
    m_deleteFlag = 0;
    if (modifiers & (GM_CTRL | GM_ALT))
        return;
    if (ch == '\b') {
        if (free) {
            if (m_caret > 0) {
                m_typed.erase(m_caret - 1, 1);
                --m_caret;
            }
            m_column.m_currentChoice = -1;
            SelectListItem(-1);
            return;
        }
        if (!m_typed.empty())
            m_typed.pop_back();
    } else {
        if (ch < 0x20 || ch > 0xFF || m_typed.size() >= kTypedLimit)
            return;
        if (free && m_caret < static_cast<int>(m_typed.size())) {
            m_typed.insert(m_typed.begin() + m_caret, static_cast<char>(ch));
            ++m_caret;
        } else {
            m_typed += static_cast<char>(ch);
            m_caret = static_cast<int16_t>(m_typed.size());
        }
    }
    Search();
}

void CGridComboCore::Search()
{
    bool free = FreeText();
    int found = -1;
    while (!m_typed.empty()) {
        found = FindChoice(m_typed);
        if (found >= 0)
            break;
        if (!free) {
            // Keep the longest start that some choice has.
            m_typed.pop_back();
            continue;
        }
        m_column.m_currentChoice = -1;
        SelectListItem(-1);
        ScrollTo(0);
        return;
    }
    m_caret = static_cast<int16_t>(std::min<size_t>(m_caret, m_typed.size()));
    if (m_typed.empty()) {
        // Nothing typed matches: the first choice is shown, and is the choice.
        SelectListItem(0);
        ScrollTo(0);
        if (m_listSel == 0)
            found = 0;
    }
    if (found >= 0)
        m_column.m_currentChoice = static_cast<int16_t>(found);
}

void CGridComboCore::ListButtonDown(int y)
{
    CGridListCore::Call call(m_grid);
    if (m_closed)
        return;
    m_deleteFlag = 0;
    int itemHeight = std::max(1, m_grid.View().ListItemHeight());
    int index = y >= 0 ? m_topIndex + y / itemHeight : -1;
    if (index >= 0 && index < ItemCount() && index < m_topIndex + VisibleItems()) {
        if (Multi()) {
            if (index < static_cast<int>(m_column.m_checks.size()))
                m_column.m_checks[index] ^= 1;
            SelectListItem(index);
        }
        m_column.m_currentChoice = static_cast<int16_t>(index);
        if (FreeText())
            m_typed = std::string(m_column.m_texts[index].view().substr(0, kTypedLimit));
        // Then the list's own handling: the clicked item becomes selected.
        if (m_listSel != index) {
            SelectListItem(index);
            ListSelChanged();
        }
    } else if (!FreeText() && !Multi()) {
        m_typed.clear();
    }
    Changed();
}

void CGridComboCore::ListButtonUp()
{
    CGridListCore::Call call(m_grid);
    if (m_closed)
        return;
    // A multi-choice list stays open so that several choices can be ticked.
    if (Multi() && !FreeText())
        return;
    SetDropped(false);
}

CGridComboCore::FieldText CGridComboCore::Field()
{
    FieldText field;
    if (Multi()) {
        field.plain = JoinTicked();
        return field;
    }
    if (!FreeText())
        m_caret = static_cast<int16_t>(m_typed.size());
    else
        m_caret = static_cast<int16_t>(std::min<size_t>(std::max<int>(0, m_caret), m_typed.size()));
    field.plain = m_typed.substr(0, m_caret);
    if (m_listSel >= 0) {
        std::string_view text = m_column.m_texts[m_listSel].view();
        if (static_cast<size_t>(m_caret) < text.size())
            field.completion = std::string(text.substr(m_caret));
    } else if (FreeText()) {
        field.completion = m_typed.substr(m_caret);
    }
    return field;
}

void CGridComboCore::EndEdit()
{
    GridEditRecord record = CellRecord();
    int current = m_column.m_currentChoice;
    bool valid = current >= 0 && current < ItemCount();
    bool accepted = !m_cancel && (FreeText() || valid);
    if (accepted) {
        intptr_t param = valid && current < static_cast<int>(m_column.m_codes.size()) ? m_column.m_codes[current] : -1;
        if (Multi()) {
            m_result = JoinTicked();
        } else if (FreeText()) {
            m_result = valid ? std::string(m_column.m_texts[current].view()) : m_typed;
            param = m_listSel >= 0 ? m_listSel : -2;
        } else {
            m_result = std::string(m_column.m_texts[current].view());
        }
        record.text = m_result.data();
        record.textLength = static_cast<int>(m_result.size()) + 1;
        record.param = param;
    } else {
        m_result.clear();
        record.text = m_result.data();
        record.textLength = 0;
        record.param = m_deleteFlag && !m_cancel ? -2 : -1;
    }
    m_dropped = false;
    Report(&record);
}
