#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

using CURL = void;

namespace velmora {

// Download codes of CAutoUpdater::Download.
constexpr int kDownloadDone = 0;
constexpr int kDownloadNoConnection = 1; // no Internet handle or no connection
constexpr int kDownloadNoUrl = 2;        // the URL cannot be opened, or the server answered with no success status
constexpr int kDownloadFileFailed = 4;   // the local file cannot be made, or reading or writing failed

// URLs are escaped the way a browser does (blanks, controls, bytes beyond ASCII and the
// characters unsafe in a URL) and limited to this many characters.
constexpr qsizetype kMaxUrlChars = 1024;
QByteArray CanonicalizeUrl(const QString &url);

// HTTP and FTP downloads for one update run, over libcurl: no cache, passive FTP, the
// proxy of the user's environment (http_proxy, https_proxy, ftp_proxy, no_proxy).
class CAutoUpdater
{
public:
    CAutoUpdater();
    ~CAutoUpdater();
    CAutoUpdater(const CAutoUpdater &) = delete;
    CAutoUpdater &operator=(const CAutoUpdater &) = delete;

    // Stores url, ending in "/".
    void SetBaseUrl(const QString &url);
    const QString &BaseUrl() const { return m_strBaseUrl; }

    // Prepares base URL + name. False only when that cannot be made a URL to fetch; with no
    // connection, nothing is opened and the answer is true.
    bool OpenRequest(const QString &name);
    // Fetches base URL + name into folder/name: 0 done, 1 no connection, 2 the URL cannot be
    // opened or reached, or the answer's status is not a success (HTTP 2xx after redirects,
    // FTP 2xx), 4 the local file cannot be made or the transfer failed. The file is written
    // as a new file beside its place (never through a link) and moved there only when
    // complete, so a cut transfer or an error page never leaves a file under the name.
    int Download(const QString &name, const QString &folder);

    // Limits: a transfer with no byte for stallSeconds ends; no file beyond maxBytes is kept.
    void SetStallSeconds(int seconds) { m_nStallSeconds = seconds; }
    void SetMaxBytes(qint64 bytes) { m_nMaxBytes = bytes; }

private:
    void CloseRequest();
    int Transfer(const QString &localPath);

    CURL *m_root = nullptr;
    QByteArray m_request; // the canonical URL of the open request, empty for none
    QString m_strBaseUrl;
    int m_nStallSeconds;
    qint64 m_nMaxBytes;
};

} // namespace velmora
