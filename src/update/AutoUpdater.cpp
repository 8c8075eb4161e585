#include "update/AutoUpdater.h"

#include "platform/NativeName.h"
#include "platform/PrivateFolder.h"
#include "platform/Settings.h"
#include "update/ConnectionState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <cstdio>
#include <curl/curl.h>
#include <mutex>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr long kBlockBytes = 4096;
constexpr long kConnectSeconds = 15;

void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool IsUnsafeUrlByte(unsigned char byte)
{
    return byte <= 0x20 || byte >= 0x7F || QByteArrayView("\"<>^`{|}#").contains(char(byte));
}

struct STransferSink
{
    QFile *pFile = nullptr;
    qint64 nWritten = 0;
    qint64 nMaxBytes = 0;
    bool bFailed = false;
};

size_t WriteBlock(char *data, size_t size, size_t count, void *context)
{
    auto *sink = static_cast<STransferSink *>(context);
    const qint64 bytes = qint64(size * count);
    if (sink->nWritten + bytes > sink->nMaxBytes) {
        sink->bFailed = true;
        return 0;
    }
    const qint64 written = sink->pFile->write(data, bytes);
    if (written != bytes) {
        sink->bFailed = true;
        return 0;
    }
    sink->nWritten += written;
    return size_t(written);
}

// Names relative to the channel folder; a name that would climb out of the update folder
// (or is absolute) has no local place.
bool IsContainedName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(u'/') || name.startsWith(u'\\') || name.contains(u':'))
        return false;
    const QStringList steps = QString(name).replace(u'\\', u'/').split(u'/');
    return !steps.contains(u".."_s) && !steps.last().isEmpty();
}

// A server answers every request, also for files it does not have: only a success status
// (HTTP 2xx after the redirects; the FTP completion replies 2xx) brings the file itself. An
// error page must never be kept as a manifest or installed as a program.
bool IsSuccessStatus(CURL *handle)
{
    long status = 0;
    return curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK && status >= 200 && status <= 299;
}

bool IsUnreachable(CURLcode code)
{
    return code == CURLE_COULDNT_RESOLVE_HOST || code == CURLE_COULDNT_RESOLVE_PROXY
        || code == CURLE_COULDNT_CONNECT || code == CURLE_URL_MALFORMAT || code == CURLE_UNSUPPORTED_PROTOCOL
        || code == CURLE_REMOTE_FILE_NOT_FOUND || code == CURLE_REMOTE_ACCESS_DENIED;
}

} // namespace

QByteArray CanonicalizeUrl(const QString &url)
{
    QByteArray canonical;
    for (const char byte : url.toUtf8()) {
        const auto value = static_cast<unsigned char>(byte);
        if (byte == '\\')
            canonical.append('/');
        else if (IsUnsafeUrlByte(value))
            canonical.append('%').append(QByteArray::number(value, 16).rightJustified(2, '0').toUpper());
        else
            canonical.append(byte);
    }
    return canonical.size() < kMaxUrlChars ? canonical : QByteArray(); // room for the terminator
}

CAutoUpdater::CAutoUpdater()
{
    InitCurlOnce();
    m_root = curl_easy_init();
    const auto settings = OpenSettings();
    m_nStallSeconds = std::max(1, settings->value(u"Update/StallSeconds"_s, 30).toInt());
    m_nMaxBytes = std::max<qint64>(1, settings->value(u"Update/MaxDownloadBytes"_s, qint64(512) << 20).toLongLong());
}

CAutoUpdater::~CAutoUpdater()
{
    CloseRequest();
    if (m_root)
        curl_easy_cleanup(m_root);
}

void CAutoUpdater::SetBaseUrl(const QString &url)
{
    m_strBaseUrl = url.endsWith(u'/') ? url : url + u'/';
}

void CAutoUpdater::CloseRequest()
{
    m_request.clear();
}

bool CAutoUpdater::OpenRequest(const QString &name)
{
    CloseRequest();
    const QString url = m_strBaseUrl + name;
    if (!m_root || !IsInternetConnected(UrlHost(url)))
        return true;
    const QByteArray canonical = CanonicalizeUrl(url);
    const QByteArray scheme = canonical.left(canonical.indexOf(':')).toLower();
    if (canonical.isEmpty() || (scheme != "http" && scheme != "https" && scheme != "ftp"))
        return false;
    m_request = canonical;
    return true;
}

int CAutoUpdater::Download(const QString &name, const QString &folder)
{
    if (!m_root || !IsInternetConnected(UrlHost(m_strBaseUrl + name)))
        return kDownloadNoConnection;
    if (!OpenRequest(name) || m_request.isEmpty())
        return kDownloadNoUrl;
    if (!IsContainedName(name)) {
        CloseRequest();
        return kDownloadFileFailed;
    }
    const QString localPath = (folder.endsWith(u'/') ? folder : folder + u'/') + QString(name).replace(u'\\', u'/');
    const int code = QDir().mkpath(QFileInfo(localPath).absolutePath()) ? Transfer(localPath) : kDownloadFileFailed;
    CloseRequest();
    return code;
}

int CAutoUpdater::Transfer(const QString &localPath)
{
    const QString partPath = localPath + u".part"_s;
    const std::unique_ptr<QFile> part = CreateFreshFile(partPath);
    if (!part)
        return kDownloadFileFailed;
    STransferSink sink{part.get(), 0, m_nMaxBytes, false};
    curl_slist *headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    headers = curl_slist_append(headers, "Pragma: no-cache");
    curl_easy_reset(m_root);
    curl_easy_setopt(m_root, CURLOPT_URL, m_request.constData());
    curl_easy_setopt(m_root, CURLOPT_USERAGENT, "AutoUpdateAgent");
    curl_easy_setopt(m_root, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(m_root, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(m_root, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(m_root, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(m_root, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(m_root, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_root, CURLOPT_BUFFERSIZE, kBlockBytes);
    curl_easy_setopt(m_root, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    curl_easy_setopt(m_root, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(m_root, CURLOPT_LOW_SPEED_TIME, long(m_nStallSeconds));
    curl_easy_setopt(m_root, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(m_nMaxBytes));
    curl_easy_setopt(m_root, CURLOPT_FTPPORT, static_cast<const char *>(nullptr)); // passive FTP
    curl_easy_setopt(m_root, CURLOPT_WRITEFUNCTION, &WriteBlock);
    curl_easy_setopt(m_root, CURLOPT_WRITEDATA, &sink);
    const CURLcode result = curl_easy_perform(m_root);
    curl_easy_setopt(m_root, CURLOPT_HTTPHEADER, static_cast<curl_slist *>(nullptr));
    curl_slist_free_all(headers);

    const bool answered = result == CURLE_OK && IsSuccessStatus(m_root);
    const bool complete = answered && !sink.bFailed && part->flush();
    part->close();
    if (!complete) {
        QFile::remove(partPath);
        if (result == CURLE_OK && !answered)
            return kDownloadNoUrl;
        return IsUnreachable(result) && sink.nWritten == 0 ? kDownloadNoUrl : kDownloadFileFailed;
    }
    // rename replaces whatever entry has the name and never writes through a link.
    if (std::rename(EncodeNativeName(partPath).constData(), EncodeNativeName(localPath).constData()) != 0) {
        QFile::remove(partPath);
        return kDownloadFileFailed;
    }
    return kDownloadDone;
}

} // namespace velmora
