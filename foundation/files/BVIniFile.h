#pragma once
// The ini text files the programs exchange with each other and with outside
// programs: result and name exchange files, sponsor and welcome texts, the
// program export file. A file is read whole into memory and looked up there;
// writes are queued and then merged into the file in one go.
//
// Format: "[Section]" lines, each followed by "Key=Value" lines; lines end in
// CR LF when written, CR, LF or CR LF when read. Section and key names match
// whole and without regard to case, never by their beginning: Ser1 is not
// Ser10. Blanks and tabs around names and values do not count. Lines that are
// neither (comments, blank lines, anything else) are kept as they stand when
// the file is rewritten.
//
// Several programs on several computers write the same files (the range
// control its results, the results program the start number into the same
// file), so a rewrite takes a lock on the whole file, reads it again, merges
// the queued values into what it finds and puts the new text in place in one
// step: a reader sees the old file or the new one, never half of one, and a
// crash or a full disk leaves the old one. Readers wait while a writer holds
// the lock.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/files/BVLog.h"
#include "platform/files/NativeFile.h"

class CBVIniFile {
public:
    CBVIniFile() = default;
    virtual ~CBVIniFile() = default;
    CBVIniFile(const CBVIniFile&) = delete;
    CBVIniFile& operator=(const CBVIniFile&) = delete;

    // Loads a whole file (a system path) for lookups, replacing what was
    // loaded. 0, or -1 when the file does not exist (at once, without a log
    // line), is no plain file or larger than the size limit (at once,
    // logged with its name) or could not be read after the retries; lookups
    // then give their defaults, and OpenError tells why.
    int Open(const std::string& path);
    int OpenRead(const std::string& path) { return Open(path); }

    // The value of [section] key, or the default when the file holds none.
    // Only the first section of that name is looked in.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue = {});
    // The value as a decimal number (leading blanks, sign and digits; 0 when
    // there are none), or the default when the value is empty or missing.
    int GetInt(std::string_view section, std::string_view key, int defaultValue);
    // Whether the loaded file has [section] key, and its value.
    bool Lookup(std::string_view section, std::string_view key, std::string* value = nullptr) const;

    // Files from other programs and computers are read only up to this many
    // bytes (none: any size); a larger one is neither read nor rewritten.
    void SetSizeLimit(int64_t maxBytes) { m_sizeLimit = maxBytes; }
    // Why the last Open failed: ENOENT, EFBIG (over the limit),
    // platform::kNotRegularFile, EISDIR or another system error; 0 after a load.
    int OpenError() const { return m_openError; }
    // The file the last Open loaded (or refused for its size), to tell it
    // from one put in its place since.
    platform::FileIdentity Identity() const { return m_identity; }

    // Queues a value for the next Write; later calls for the same key win.
    void PutString(std::string_view section, std::string_view key, std::string_view value);
    void PutInt(std::string_view section, std::string_view key, int value);
    // Queues the removal of the keys of [section] that `which` picks, done
    // by the next Write in its turn with the values queued: a writer that
    // rewrites its own keys of a section removes first those it may no
    // longer have, under the same lock, and leaves every other key.
    void RemoveKeys(std::string_view section, std::function<bool(std::string_view key)> which);

    // What a rewrite does to the file's archive mark (the results program's
    // "not yet read"): Set marks it, the writer's own news; Keep carries over
    // the mark of the file replaced, for a writer that only adds its own
    // key to another program's file and must neither hide nor fake news.
    enum class ArchiveMark { Set, Keep };

    // Rewrites the file (created when missing) with the queued values merged
    // into what it holds now; with startFresh the file ends up holding only
    // the queued values. Sets the file's archive mark (or keeps it, above).
    // The queue stays; the loaded text becomes the text written. 0, or -1
    // when the file could not be locked or written; the file is then as it was.
    int Write(const std::string& path, bool startFresh = false, ArchiveMark mark = ArchiveMark::Set);

    // Forgets the loaded text and the queue.
    void Reset();
    void Clear() { Reset(); }

    bool IsLoaded() const { return m_loaded; }
    // The whole text loaded (or last written).
    const std::string& GetText() const { return m_text; }

    // The parsed form of a file, also used by the fuzz target and the tests.
    struct Line {
        std::string raw;    // the line as it stands, without its line end
        bool isKey = false;
        std::string key;    // trimmed
        std::string value;  // trimmed
    };
    struct Section {
        bool hasHeader = false;  // false only for the lines above the first section
        std::string name;        // trimmed, without brackets
        std::string header;      // the header line as it stands
        std::vector<Line> lines;
    };
    static std::vector<Section> Parse(std::string_view text);
    static std::string Serialize(const std::vector<Section>& sections);
    // Puts key=value into the first section of that name (appending the
    // section or the key when missing).
    static void Merge(std::vector<Section>& sections, std::string_view section, std::string_view key,
                      std::string_view value);

private:
    struct Pending {
        std::string section;
        std::string key;
        std::string value;
        std::function<bool(std::string_view)> remove;  // set for a removal
    };

    const Line* Find(std::string_view section, std::string_view key) const;
    void Load(std::string text);

    // A file the size limit or its kind rules out: logged, not retried.
    bool Refused(const std::string& path, int error, int64_t size);

    bool m_loaded = false;
    int64_t m_sizeLimit = INT64_MAX;
    int m_openError = 0;
    platform::FileIdentity m_identity;
    std::string m_text;
    std::vector<Section> m_sections;
    std::vector<Pending> m_queue;
    CBVLog m_log;
};
