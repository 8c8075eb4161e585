#pragma once

#include <QString>

#include <cstddef>
#include <mutex>

namespace velmora {

// The media-information library, loaded at run time. Every entry point of its interface
// must be present, or the library counts as unavailable and no handle is ever made.
class CMediaInfoModule
{
public:
    static constexpr const char *kDefaultLibrary = "libmediainfo.so.0";

    explicit CMediaInfoModule(QString libraryPath = QString::fromLatin1(kDefaultLibrary));
    ~CMediaInfoModule();
    CMediaInfoModule(const CMediaInfoModule &) = delete;
    CMediaInfoModule &operator=(const CMediaInfoModule &) = delete;

    // 1 when the library is loaded with all its entry points, -1 when it is unavailable.
    // The first call decides; later calls answer the same.
    int Load();
    bool IsLoaded() const { return m_loaded; }

    // The module the checker uses, for the life of the process.
    static CMediaInfoModule &Shared();

    using NewFn = void *(*)();
    using DeleteFn = void (*)(void *);
    using OpenFn = size_t (*)(void *, const wchar_t *);
    using CloseFn = void (*)(void *);
    using InformFn = const wchar_t *(*)(void *, size_t);
    using GetFn = const wchar_t *(*)(void *, int, size_t, const wchar_t *, int, int);
    using OptionFn = const wchar_t *(*)(void *, const wchar_t *, const wchar_t *);

    NewFn m_new = nullptr;
    DeleteFn m_delete = nullptr;
    OpenFn m_open = nullptr;
    CloseFn m_close = nullptr;
    InformFn m_inform = nullptr;
    GetFn m_get = nullptr;
    OptionFn m_option = nullptr;

private:
    bool ResolveEntryPoints();

    QString m_libraryPath;
    void *m_library = nullptr;
    bool m_tried = false;
    bool m_loaded = false;
    std::mutex m_mutex;
};

// One file's view through the library: open it, read its report and a few values, close.
class CMediaInfo
{
public:
    static constexpr const char16_t *kUnavailableText = u"Unable to load MediaInfo.dll";

    explicit CMediaInfo(CMediaInfoModule &module = CMediaInfoModule::Shared()) : m_module(module) {}
    ~CMediaInfo() { Release(); }
    CMediaInfo(const CMediaInfo &) = delete;
    CMediaInfo &operator=(const CMediaInfo &) = delete;

    bool Create();
    bool HasHandle() const { return m_handle != nullptr; }
    bool Open(const QString &path);
    QString Option(const QString &option, const QString &value = {});
    QString GetGeneral(const QString &parameter);
    QString Report() const { return m_report; }
    QString ReportValue(const QString &section, const QString &key) const;
    int DurationSeconds() const;
    int AudioBitRate() const;
    int VideoBitRate() const;
    QString Title() const;
    bool IsAudio() const { return m_bAudio; }
    void Close();
    void Release();

private:
    int BitRate(const QString &section) const;

    CMediaInfoModule &m_module;
    void *m_handle = nullptr;
    bool m_bAudio = true;
    QString m_report;
};

// The report lookup on its own: the value of key in section (or, when the section lacks
// it, in a later one), from a report whose lines end in "\r\n".
QString ReportValueIn(const QString &report, const QString &section, const QString &key);

} // namespace velmora
