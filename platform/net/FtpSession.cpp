#include "platform/net/FtpSession.h"

#include "platform/files/SystemPath.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>

#include <curl/curl.h>
#include <sys/stat.h>

namespace platform {
namespace {

void InitialiseCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool IsHostChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

bool IsAddress6Char(char c)
{
    return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || (c >= '0' && c <= '9') || c == ':' ||
           c == '.';
}

bool ParsePort(std::string_view text, int& port)
{
    if (text.empty() || text.size() > 5)
        return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535)
        return false;
    port = value;
    return true;
}

// Every byte but letters, digits, '-' and '_' goes percent-encoded, so that
// curl takes nothing of a remote name for URL syntax: not "." or ".." (which
// it would fold away), nor ";type=", "?" or "#". curl decodes them again and
// sends the name's bytes to the server unchanged.
std::string Encode(std::string_view part)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : part) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
            c == '_') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

// The server's replies reach us as header lines; the last one says why a
// command failed.
size_t KeepReplyLine(char* data, size_t size, size_t count, void* user)
{
    size_t length = size * count;
    std::string line(data, length);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.pop_back();
    if (!line.empty())
        *static_cast<std::string*>(user) = line;
    return length;
}

size_t DropBody(char*, size_t size, size_t count, void*) { return size * count; }

}  // namespace

bool ParseFtpServer(std::string_view text, std::string& host, int& port)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\0'))
        text.remove_suffix(1);
    int number = 21;
    std::string_view name = text;
    if (!text.empty() && text.front() == '[') {
        size_t close = text.find(']');
        if (close == std::string_view::npos)
            return false;
        name = text.substr(1, close - 1);
        std::string_view rest = text.substr(close + 1);
        if (!rest.empty() && (rest.front() != ':' || !ParsePort(rest.substr(1), number)))
            return false;
        if (name.empty() || name.find(':') == std::string_view::npos)
            return false;
        for (char c : name)
            if (!IsAddress6Char(c))
                return false;
    } else {
        size_t colon = text.find(':');
        if (colon != std::string_view::npos && text.find(':', colon + 1) == std::string_view::npos) {
            name = text.substr(0, colon);
            if (!ParsePort(text.substr(colon + 1), number))
                return false;
        }
        bool address6 = name.find(':') != std::string_view::npos;
        for (char c : name)
            if (!(address6 ? IsAddress6Char(c) : IsHostChar(c)))
                return false;
    }
    if (name.empty())
        return false;
    host.assign(name);
    port = number;
    return true;
}

// The command runs on a multi handle of its own, which keeps the session's
// connection between commands. Driving it ourselves lets us look at the
// sockets every few milliseconds: curl's own loop waits up to a second
// whenever it has no socket to wait on, as it happens between a passive
// reply and the data connection.
struct FtpSession::Curl {
    CURL* handle = nullptr;
    CURLM* multi = nullptr;
    char errorText[CURL_ERROR_SIZE] = {};
    std::string lastReply;
    ~Curl()
    {
        if (handle)
            curl_easy_cleanup(handle);
        if (multi)
            curl_multi_cleanup(multi);  // says QUIT on the kept connection
    }

    CURLcode Run()
    {
        if (curl_multi_add_handle(multi, handle) != CURLM_OK)
            return CURLE_FAILED_INIT;
        int running = 1;
        while (running) {
            if (curl_multi_perform(multi, &running) != CURLM_OK)
                break;
            if (running)
                curl_multi_poll(multi, nullptr, 0, 20, nullptr);
        }
        CURLcode code = CURLE_FAILED_INIT;
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &left))
            if (message->msg == CURLMSG_DONE && message->easy_handle == handle)
                code = message->data.result;
        curl_multi_remove_handle(multi, handle);
        return code;
    }
};

// One command as curl sees it: a URL to walk to, and what to do there.
struct FtpSession::Request {
    Path folder;
    std::string file;
    std::FILE* source = nullptr;  // a file to send
    curl_off_t size = 0;
    bool readFailed = false;
    std::string afterwards;  // a raw command once the folder is reached

    static size_t Read(char* buffer, size_t size, size_t count, void* user)
    {
        auto* self = static_cast<Request*>(user);
        size_t got = std::fread(buffer, 1, size * count, self->source);
        if (got == 0 && std::ferror(self->source)) {
            self->readFailed = true;
            return CURL_READFUNC_ABORT;
        }
        return got;
    }
};

FtpSession::FtpSession() = default;

FtpSession::~FtpSession() { Close(); }

FtpStatus FtpSession::Connect(std::string_view server, const std::string& user, const std::string& password,
                              FtpMode mode, const FtpLimits& limits)
{
    Close();
    m_error.clear();
    m_reply = 0;
    if (!ParseFtpServer(server, m_host, m_port))
        return Fail(kFtpBadName, "connect to \"" + std::string(server) + "\"",
                    "not a host name or \"host:port\"");
    InitialiseCurlOnce();
    m_curl = std::make_unique<Curl>();
    m_curl->handle = curl_easy_init();
    m_curl->multi = curl_multi_init();
    if (!m_curl->handle || !m_curl->multi) {
        m_curl.reset();
        return Fail(kFtpFailed, "connect", "no FTP client available");
    }
    m_user = user;
    m_password = password;
    m_mode = mode;
    m_limits = limits;
    m_folder = Path{};
    m_connected = true;  // for Perform; undone below on failure
    Request login;
    FtpStatus status = Perform(login, "connect to " + m_host + ":" + std::to_string(m_port));
    if (status != kFtpOk)
        Drop();
    return status;
}

FtpStatus FtpSession::ChangeFolder(std::string_view path)
{
    std::string what = "change to folder \"" + std::string(path) + "\"";
    Request request;
    if (!Resolve(path, request.folder))
        return Fail(kFtpBadName, what, "not a folder name");
    FtpStatus status = Perform(request, what);
    if (status == kFtpOk)
        m_folder = request.folder;
    return status;
}

FtpStatus FtpSession::MakeFolder(std::string_view name)
{
    std::string what = "make folder \"" + std::string(name) + "\"";
    Path target;
    if (!Resolve(name, target) || target.parts.empty() || target.parts.back() == "..")
        return Fail(kFtpBadName, what, "not a folder name");
    // The server is told the name as given, once the session stands in its
    // current folder.
    Request request;
    request.folder = m_folder;
    request.afterwards = "MKD " + std::string(name);
    return Perform(request, what);
}

FtpStatus FtpSession::PutFile(std::string_view localPath, std::string_view remoteName)
{
    std::string what = "send \"" + std::string(BaseName(localPath)) + "\" as \"" + std::string(remoteName) + "\"";
    Request request;
    size_t slash = remoteName.rfind('/');
    std::string_view folder = slash == std::string_view::npos ? std::string_view() : remoteName.substr(0, slash + 1);
    std::string_view file = slash == std::string_view::npos ? remoteName : remoteName.substr(slash + 1);
    bool fileOk = !file.empty() && file != "." && file != "..";
    for (unsigned char c : file)
        fileOk = fileOk && !IsControl(c);
    if (!fileOk || !Resolve(folder, request.folder))
        return Fail(kFtpBadName, what, "not a file name");
    request.file.assign(file);
    if (!m_connected)
        return Fail(kFtpNotConnected, what, "not connected");

    std::FILE* source = std::fopen(NativePath(localPath).c_str(), "rb");
    if (!source)
        return Fail(kFtpLocalFile, what, std::string("local file: ") + std::strerror(errno));
    struct stat facts {};
    if (::fstat(fileno(source), &facts) != 0 || !S_ISREG(facts.st_mode)) {
        std::fclose(source);
        return Fail(kFtpLocalFile, what, "local file: not a file");
    }
    request.source = source;
    request.size = facts.st_size;
    FtpStatus status = Perform(request, what);
    std::fclose(source);
    return status;
}

void FtpSession::Close()
{
    m_curl.reset();  // sends QUIT on the open connection
    m_connected = false;
    m_folder = Path{};
    std::fill(m_password.begin(), m_password.end(), '\0');
    m_password.clear();
    m_user.clear();
}

void FtpSession::Drop()
{
    std::string error = m_error;
    int reply = m_reply;
    Close();
    m_error = error;
    m_reply = reply;
}

std::string FtpSession::Folder() const
{
    std::string text = m_folder.fromRoot ? "/" : "";
    for (size_t i = 0; i < m_folder.parts.size(); ++i)
        text += (i ? "/" : "") + m_folder.parts[i];
    return text;
}

bool FtpSession::Resolve(std::string_view path, Path& into) const
{
    into = m_folder;
    if (!path.empty() && path.front() == '/')
        into = Path{true, {}};
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        std::string_view part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        for (unsigned char c : part)
            if (IsControl(c))
                return false;
        if (part == "..") {
            if (!into.parts.empty() && into.parts.back() != "..")
                into.parts.pop_back();
            else if (!into.fromRoot)
                into.parts.emplace_back(part);  // above the login folder: the server decides
            continue;
        }
        into.parts.emplace_back(part);
    }
    return true;
}

// The folder is walked by curl one CWD per part; a path from the root begins
// with an encoded "/", which curl sends as "CWD /". A relative one starts from
// the login folder, to which curl returns first on a reused connection.
std::string FtpSession::Url(const Path& folder, std::string_view file) const
{
    std::string url = "ftp://";
    url += m_host.find(':') != std::string::npos ? "[" + m_host + "]" : m_host;
    url += ":" + std::to_string(m_port) + "/";
    if (folder.fromRoot)
        url += "%2F";
    for (const std::string& part : folder.parts)
        url += Encode(part) + "/";
    url += Encode(file);
    return url;
}

FtpStatus FtpSession::Perform(Request& request, std::string_view what)
{
    if (!m_connected || !m_curl)
        return Fail(kFtpNotConnected, what, "not connected");
    // Every wait of this command, a second try on a new connection among
    // them, comes out of one allowance.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(m_limits.commandSeconds);
    auto msLeft = [deadline] {
        return static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
    };
    CURL* curl = m_curl->handle;
    // A reset keeps the open connection; every command states all it needs.
    curl_easy_reset(curl);
    m_curl->errorText[0] = '\0';
    m_curl->lastReply.clear();
    std::string url = Url(request.folder, request.file);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, m_curl->errorText);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, KeepReplyLine);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &m_curl->lastReply);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, DropBody);
    if (!m_user.empty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, m_user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, m_password.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, m_limits.connectSeconds);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, m_limits.replySeconds);
    curl_easy_setopt(curl, CURLOPT_ACCEPTTIMEOUT_MS, m_limits.replySeconds * 1000L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, m_limits.stallSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, std::max(1L, msLeft()));
    curl_easy_setopt(curl, CURLOPT_TCP_KEEPALIVE, 1L);
    if (m_mode == FtpMode::Active)
        curl_easy_setopt(curl, CURLOPT_FTPPORT, "-");  // the address the control connection uses
    curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, 0L);  // binary: TYPE I
    curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_NONE));
    if (request.source) {
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_READFUNCTION, &Request::Read);
        curl_easy_setopt(curl, CURLOPT_READDATA, &request);
        curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, request.size);
    } else {
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    }
    curl_slist* commands = nullptr;
    if (!request.afterwards.empty()) {
        commands = curl_slist_append(nullptr, request.afterwards.c_str());
        curl_easy_setopt(curl, CURLOPT_POSTQUOTE, commands);
    }

    CURLcode code = m_curl->Run();
    long reply = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply);
    long connects = 0;
    curl_easy_getinfo(curl, CURLINFO_NUM_CONNECTS, &connects);
    // A connection kept open between commands may have been closed by the
    // server meanwhile (its idle time, 421); curl finds out only by using it.
    // The command was not carried out, so it goes once more on a new one.
    bool stale = code == CURLE_SEND_ERROR || code == CURLE_RECV_ERROR || code == CURLE_GOT_NOTHING ||
                 reply == 421;
    if (code != CURLE_OK && connects == 0 && stale && !request.readFailed && msLeft() > 0) {
        if (request.source)
            std::rewind(request.source);
        m_curl->errorText[0] = '\0';
        m_curl->lastReply.clear();
        curl_easy_setopt(curl, CURLOPT_FRESH_CONNECT, 1L);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, std::max(1L, msLeft()));
        code = m_curl->Run();
        reply = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply);
    }
    curl_slist_free_all(commands);
    m_reply = static_cast<int>(reply);
    if (code == CURLE_OK) {
        m_error.clear();
        return kFtpOk;
    }

    FtpStatus status = kFtpFailed;
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
        status = kFtpUnreachable;
        break;
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_FTP_ACCEPT_TIMEOUT:
        status = kFtpTimedOut;
        break;
    case CURLE_LOGIN_DENIED:
        status = kFtpLoginRefused;
        break;
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_QUOTE_ERROR:
    case CURLE_UPLOAD_FAILED:
    case CURLE_REMOTE_DISK_FULL:
    case CURLE_REMOTE_FILE_NOT_FOUND:
        status = kFtpRefused;
        break;
    case CURLE_URL_MALFORMAT:
        status = kFtpBadName;
        break;
    case CURLE_READ_ERROR:
    case CURLE_ABORTED_BY_CALLBACK:
        status = request.readFailed ? kFtpLocalFile : kFtpFailed;
        break;
    default:
        break;
    }
    // What the server said is the better reason when it refused; curl's own
    // text when it never got that far.
    std::string why;
    if (m_reply >= 400 && !m_curl->lastReply.empty())
        why = m_curl->lastReply;
    else if (request.readFailed)
        why = "local file: read error";
    else
        why = m_curl->errorText[0] ? m_curl->errorText : curl_easy_strerror(code);
    Fail(status, what, why);
    if (status == kFtpTimedOut || status == kFtpUnreachable)
        Drop();
    return status;
}

FtpStatus FtpSession::Fail(FtpStatus status, std::string_view what, std::string_view why)
{
    m_error.assign(what);
    m_error += ": ";
    m_error += why;
    // No server should echo a password, but none may leave through us.
    if (m_password.size() >= 3) {
        for (size_t at; (at = m_error.find(m_password)) != std::string::npos;)
            m_error.replace(at, m_password.size(), "******");
    }
    return status;
}

}  // namespace platform
