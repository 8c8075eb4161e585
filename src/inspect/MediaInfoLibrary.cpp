#include "inspect/MediaInfoLibrary.h"

#include "inspect/FileList.h"
#include "inspect/MediaInfoReport.h"
#include "inspect/TextNumbers.h"
#include "platform/NativeName.h"
#include "platform/OpenFile.h"

#include <QFile>

#include <dlfcn.h>
#include <memory>
#include <string>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// The library's wide characters are 32-bit here; every text crosses as UCS-4.
std::wstring Wide(const QString &text)
{
    return text.toStdWString();
}

QString FromWide(const wchar_t *text)
{
    return text ? QString::fromWCharArray(text) : QString();
}

constexpr const char *kEntryPoints[] = {
    "MediaInfo_New", "MediaInfoList_New", "MediaInfo_Delete", "MediaInfoList_Delete", "MediaInfo_Open",
    "MediaInfoList_Open", "MediaInfo_Open_Buffer_Init", "MediaInfo_Open_Buffer_Continue",
    "MediaInfo_Open_Buffer_Continue_GoTo_Get", "MediaInfo_Open_Buffer_Finalize", "MediaInfo_Open_NextPacket",
    "MediaInfo_Close", "MediaInfoList_Close", "MediaInfo_Inform", "MediaInfoList_Inform", "MediaInfo_GetI",
    "MediaInfoList_GetI", "MediaInfo_Get", "MediaInfoList_Get", "MediaInfo_Output_Buffer_Get",
    "MediaInfo_Output_Buffer_GetI", "MediaInfo_Option", "MediaInfoList_Option", "MediaInfo_State_Get",
    "MediaInfoList_State_Get", "MediaInfo_Count_Get", "MediaInfoList_Count_Get", "MediaInfoList_Count_Get_Files",
};

constexpr int kStreamGeneral = 0;
constexpr int kInfoText = 1;
constexpr int kInfoName = 0;
constexpr qsizetype kKeyColumn = 32;

} // namespace

CMediaInfoModule::CMediaInfoModule(QString libraryPath) : m_libraryPath(std::move(libraryPath)) {}

CMediaInfoModule::~CMediaInfoModule()
{
    if (m_library)
        dlclose(m_library);
}

CMediaInfoModule &CMediaInfoModule::Shared()
{
    static CMediaInfoModule module;
    return module;
}

bool CMediaInfoModule::ResolveEntryPoints()
{
    for (const char *name : kEntryPoints) {
        if (!dlsym(m_library, name))
            return false;
    }
    m_new = reinterpret_cast<NewFn>(dlsym(m_library, "MediaInfo_New"));
    m_delete = reinterpret_cast<DeleteFn>(dlsym(m_library, "MediaInfo_Delete"));
    m_open = reinterpret_cast<OpenFn>(dlsym(m_library, "MediaInfo_Open"));
    m_close = reinterpret_cast<CloseFn>(dlsym(m_library, "MediaInfo_Close"));
    m_inform = reinterpret_cast<InformFn>(dlsym(m_library, "MediaInfo_Inform"));
    m_get = reinterpret_cast<GetFn>(dlsym(m_library, "MediaInfo_Get"));
    m_option = reinterpret_cast<OptionFn>(dlsym(m_library, "MediaInfo_Option"));
    return true;
}

int CMediaInfoModule::Load()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_tried) {
        m_tried = true;
        m_library = dlopen(EncodeNativeName(m_libraryPath).constData(), RTLD_NOW | RTLD_LOCAL);
        m_loaded = m_library && ResolveEntryPoints();
        if (!m_loaded && m_library) {
            dlclose(m_library);
            m_library = nullptr;
        }
    }
    return m_loaded ? 1 : -1;
}

bool CMediaInfo::Create()
{
    if (!m_handle && m_module.Load() == 1)
        m_handle = m_module.m_new();
    return m_handle != nullptr;
}

bool CMediaInfo::Open(const QString &path)
{
    if (!m_handle)
        return false;
    // The library turns the name into bytes through the locale to open it; a name that
    // would not come out as its bytes on disk (not UTF-8 there, or a locale that is not
    // UTF-8) is handed over as this process's open descriptor of the file instead.
    std::unique_ptr<QFile> held;
    QString name = path;
    if (!LocaleEncodesNameExactly(path)) {
        held = OpenFileForRead(path);
        name = held ? u"/proc/self/fd/"_s + QString::number(held->handle()) : QString();
    }
    m_module.m_open(m_handle, Wide(name).c_str());
    Option(u"Complete"_s, {});
    // Report lines end as the report lookup expects, on every platform.
    Option(u"LineSeparator"_s, u"\r\n"_s);
    m_report = FromWide(m_module.m_inform(m_handle, 0));
    m_bAudio = !HasEnding(path, u".avi") && !HasEnding(path, u".wmv");
    return true;
}

QString CMediaInfo::Option(const QString &option, const QString &value)
{
    if (!m_handle)
        return QString::fromUtf16(kUnavailableText);
    return FromWide(m_module.m_option(m_handle, Wide(option).c_str(), Wide(value).c_str()));
}

QString CMediaInfo::GetGeneral(const QString &parameter)
{
    if (!m_handle)
        return QString::fromUtf16(kUnavailableText);
    if (m_report.isEmpty())
        return {};
    return FromWide(m_module.m_get(m_handle, kStreamGeneral, 0, Wide(parameter).c_str(), kInfoText, kInfoName));
}

QString CMediaInfo::ReportValue(const QString &section, const QString &key) const
{
    return ReportValueIn(m_report, section, key);
}

int CMediaInfo::DurationSeconds() const
{
    QString duration = ReportValue(u"General"_s, u"Duration"_s);
    if (duration.isEmpty())
        duration = ReportValue(u"Audio"_s, u"Duration"_s);
    return duration.isEmpty() ? 0 : DurationTextToSeconds(duration);
}

int CMediaInfo::BitRate(const QString &section) const
{
    QString value = ReportValue(section, u"BitRate"_s);
    if (value.isEmpty())
        value = ReportValue(section, u"Bit rate"_s);
    return LeadingInteger(value);
}

int CMediaInfo::AudioBitRate() const
{
    return BitRate(u"Audio"_s);
}

int CMediaInfo::VideoBitRate() const
{
    return BitRate(u"Video"_s);
}

QString CMediaInfo::Title() const
{
    return ReportValue(u"General"_s, m_bAudio ? u"Track name"_s : u"Movie name"_s);
}

void CMediaInfo::Close()
{
    if (m_handle)
        m_module.m_close(m_handle);
    m_report.clear();
}

void CMediaInfo::Release()
{
    if (!m_handle)
        return;
    Close();
    m_module.m_delete(m_handle);
    m_handle = nullptr;
}

QString ReportValueIn(const QString &report, const QString &section, const QString &key)
{
    const qsizetype sectionAt = report.indexOf(section + u"\r\n"_s);
    if (sectionAt < 0)
        return {};
    const QString keyNeedle = key.size() >= kKeyColumn ? key : key.leftJustified(kKeyColumn, u' ');
    const qsizetype keyAt = report.indexOf(keyNeedle, sectionAt);
    if (keyAt < 0)
        return {};
    const qsizetype colon = report.indexOf(u':', keyAt);
    if (colon < 0)
        return {};
    const qsizetype lineFeed = report.indexOf(u'\n', colon);
    if (lineFeed < 0)
        return {};
    QString value = report.mid(colon + 2, std::max<qsizetype>(0, lineFeed - colon - 2));
    while (!value.isEmpty() && (value.back() == u' ' || value.back() == u'\r'))
        value.chop(1);
    return value;
}

} // namespace velmora
