#pragma once
// One FTP session with a server: log in, walk its folders, make folders and
// send files, the way the results program publishes its web site and the
// display sends its Nettcast pictures.
//
// The session keeps one control connection open from Connect to Close and
// sends every command over it; a connection the server dropped in between
// (an idle timeout) is made again, logged in the same way, on the next
// command. The current folder is the session's: a change that the server
// refuses leaves it where it was, and nothing is ever created unasked.
//
// Results are an FtpStatus (kFtpOk is 0) and, on failure, a short text for
// the log or a message box and the server's last reply code. Nothing throws.
// A command that ran out of time, or found the server gone, ends the
// session, without a goodbye: a server that stopped answering would hold
// every further command as long, and one that went away fail it.
// The user name and password travel only as the login itself: they are in no
// text the session hands out.
//
// A session belongs to one thread at a time; sessions on different threads
// do not share anything.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Who opens the data connection of a transfer: passive, the client (works
// through the usual firewalls and address translation); active, the server
// connects back to the client.
enum class FtpMode { Passive, Active };

enum FtpStatus : int {
    kFtpOk = 0,
    kFtpNotConnected,  // a command before Connect or after Close
    kFtpBadName,       // a server text or remote name the session will not send
    kFtpUnreachable,   // no such host, or nothing answers on its port
    kFtpLoginRefused,  // the server did not accept the user and password
    kFtpRefused,       // the server said no: missing folder, no right to write, ...
    kFtpLocalFile,     // the local file to send cannot be opened or read
    kFtpTimedOut,      // the server went silent beyond the limits
    kFtpFailed,        // the connection broke, or another failure
};

// How long a silent or dead server may hold the caller. The display sends
// from its display loop and the results program from its background worker:
// both must get on in seconds, never wait for ever. The waits of one command
// do not add up beyond commandSeconds: a server that freezes half-way
// through a file, after answering every step in time, still lets the caller
// go then.
struct FtpLimits {
    long connectSeconds = 5;   // reaching the server and logging in
    long replySeconds = 10;    // waiting for any reply, and for an active
                               // mode server to connect back
    long stallSeconds = 15;    // a transfer moving no data this long is given up
    long commandSeconds = 15;  // one command whole: logging in again when the
                               // server dropped the connection, walking to the
                               // folder, the transfer and the server's last word
};

// A server text as the users type it: "ftp.club.no", "ftp.club.no:2121",
// "10.0.0.5:21", "[fe80::1]:2121". Without a port, 21. False when the text is
// empty or holds anything that is not a host name, an address or a port.
bool ParseFtpServer(std::string_view text, std::string& host, int& port);

class FtpSession {
public:
    FtpSession();
    ~FtpSession();
    FtpSession(const FtpSession&) = delete;
    FtpSession& operator=(const FtpSession&) = delete;

    // Logs in to the server ("host" or "host:port"); an empty user logs in
    // as anonymous. The current folder becomes the one the server puts the
    // user in. A session already open is closed first.
    FtpStatus Connect(std::string_view server, const std::string& user, const std::string& password,
                      FtpMode mode, const FtpLimits& limits = {});

    // Changes the current folder: a path starting with "/" from the server's
    // root, any other from the current folder; "." and ".." as usual, a
    // trailing "/" allowed. The server must agree, else the folder stays.
    FtpStatus ChangeFolder(std::string_view path);

    // Makes a folder, named from the current folder (or the root with a
    // leading "/"). Fails when the server refuses, e.g. when it exists.
    FtpStatus MakeFolder(std::string_view name);

    // Sends a local file (a system path, as NativePath reads it) byte for
    // byte to a remote name: a file of the current folder, or a path below
    // it ("data/Side1.htm") or from the root. A file already there is
    // replaced. Folders on the way must exist.
    FtpStatus PutFile(std::string_view localPath, std::string_view remoteName);

    // Says goodbye to the server and drops the connection. Also done by the
    // destructor; closing a closed session does nothing.
    void Close();

    bool IsConnected() const { return m_connected; }
    // The current folder as the session walks it: "" for the one the server
    // put the user in, "web/data" below it, "/web/data" from the root.
    std::string Folder() const;

    // Of the last command that failed: a short text and the server's reply
    // code (550, 530, ...; 0 when the server gave none).
    const std::string& Error() const { return m_error; }
    int Reply() const { return m_reply; }

private:
    struct Path {
        bool fromRoot = false;
        std::vector<std::string> parts;
    };
    struct Request;

    // Where a path leads from the current folder; false for a name the
    // session will not send (a control character, an empty file name).
    bool Resolve(std::string_view path, Path& into) const;
    std::string Url(const Path& folder, std::string_view file) const;
    FtpStatus Perform(Request& request, std::string_view what);
    FtpStatus Fail(FtpStatus status, std::string_view what, std::string_view why);
    // Ends the session and keeps the failure that ended it.
    void Drop();

    struct Curl;
    std::unique_ptr<Curl> m_curl;
    bool m_connected = false;
    std::string m_host;
    int m_port = 21;
    std::string m_user;
    std::string m_password;
    FtpMode m_mode = FtpMode::Passive;
    FtpLimits m_limits;
    Path m_folder;
    std::string m_error;
    int m_reply = 0;
};

}  // namespace platform
