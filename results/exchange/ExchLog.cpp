#include "results/exchange/ExchLog.h"

#include "foundation/files/BVLog.h"
#include "foundation/text/FieldText.h"
#include "platform/system/Clock.h"
#include "results/data/DataFileOpen.h"
#include "results/data/ResStrings.h"

#include <cstdio>
#include <cstring>

namespace results {

std::string ExchLogText(int messageId, int a, int b, uint8_t& kind)
{
    char text[256];
    kind = kExchLogCount;
    switch (messageId) {
    case kLogReadSeveral:
    case kLogWrittenSeveral:
        // One relay gets its number; several relays the wording without one.
        if (b >= 1)
            std::snprintf(text, sizeof text, "%d %s %d", a, ResString(messageId + 1).c_str(), b);
        else
            std::snprintf(text, sizeof text, "%d %s", a, ResString(messageId).c_str());
        break;
    case kLogValuesChanged:
    case kLogShotsRemoved:
        kind = kExchLogTarget;
        std::snprintf(text, sizeof text, "%s %d:%d", ResString(messageId).c_str(), a, b);
        break;
    default:
        std::snprintf(text, sizeof text, "%d %s", a, ResString(messageId).c_str());
        break;
    }
    return text;
}

CExchLog::CExchLog() = default;

CExchLog::~CExchLog() { Close(); }

int CExchLog::Open(const std::string& path)
{
    if (m_open)
        return 0;
    int rc = m_file.Open(path, kRecordSize, kVersion, 1, kDataFileOptions);
    if (rc != 0) {
        // Another layout is left as it is: the log is not worth a conversion.
        BV_LOG(ProgramLog(), 80, "Exchange log %s not opened (%d)", path.c_str(), rc);
        return rc == -1 ? -2 : rc;
    }
    m_open = true;
    m_path = path;
    m_file.CacheVerify(1);
    return -1;
}

void CExchLog::Close()
{
    if (m_open)
        m_file.Close();
    m_open = false;
}

int CExchLog::Clear() { return m_open ? m_file.CutToHeader() : -1; }

int CExchLog::Append(uint8_t kind, int event, const std::string& text)
{
    if (!m_open)
        return -1;
    m_file.CacheVerify(1);
    platform::LocalTime now = platform::Now();
    std::memset(&m_record, 0, sizeof m_record);
    m_record.kind = kind;
    m_record.century = static_cast<uint8_t>(now.year / 100);
    m_record.year = static_cast<uint8_t>(now.year % 100);
    m_record.month = static_cast<uint8_t>(now.month);
    m_record.day = static_cast<uint8_t>(now.day);
    m_record.hour = static_cast<uint8_t>(now.hour);
    m_record.minute = static_cast<uint8_t>(now.minute);
    m_record.second = static_cast<uint8_t>(now.second);
    m_record.event = static_cast<int16_t>(event);
    SetFieldText(m_record.text, sizeof m_record.text, text);
    int n = 0;
    return m_file.AddRec(n, &m_record);
}

int CExchLog::Count()
{
    if (!m_open)
        return 0;
    m_file.CacheVerify(1);
    return m_file.GetRecCount();
}

bool CExchLog::Read(int n, ExchLogRecord& record) { return m_open && m_file.ReadRec(n, &record) == 0; }

}  // namespace results
