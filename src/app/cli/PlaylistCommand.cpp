#include "app/cli/PlaylistCommand.h"

#include "base/RunLogs.h"
#include "base/UserPaths.h"
#include "app/cli/PlaylistRows.h"
#include "app/cli/ProgressLine.h"
#include "app/cli/StopSignals.h"
#include "platform/CleanPath.h"
#include "platform/CodePage.h"
#include "platform/FileStatus.h"
#include "platform/MessagePrompt.h"
#include "playlist/MissingFileHint.h"
#include "playlist/PlaylistCommand.h"
#include "playlist/RevItemList.h"

#include <cstdio>
#include <optional>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

struct SPlaylistOptions
{
    EOutputFormat format = EOutputFormat::Text;
    QString strDataDir;
    bool bSuggest = false;
    bool bQuiet = false;
    int nAnsiCodePage = 0; // 0: as configured
    QString strFile;
};

void PrintError(const QString &text)
{
    std::fprintf(stderr, "velmora: %s\n", text.toUtf8().constData());
}

std::optional<EOutputFormat> FormatNamed(const QString &name)
{
    if (name == u"text"_s) return EOutputFormat::Text;
    if (name == u"json"_s) return EOutputFormat::Json;
    if (name == u"csv"_s) return EOutputFormat::Csv;
    return std::nullopt;
}

std::optional<SPlaylistOptions> ParseOptions(const QStringList &arguments, QString &error)
{
    SPlaylistOptions options;
    bool fileSeen = false;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(u'-') || argument == u"-"_s) {
            if (fileSeen) {
                error = u"only one FILE may be given"_s;
                return std::nullopt;
            }
            options.strFile = argument;
            fileSeen = true;
            continue;
        }
        QString value;
        const qsizetype equals = argument.indexOf(u'=');
        const bool inlineValue = equals > 2;
        if (inlineValue) {
            value = argument.mid(equals + 1);
            argument.truncate(equals);
        }
        const bool takesValue =
            argument == u"--format"_s || argument == u"--data-dir"_s || argument == u"--ansi-code-page"_s;
        if (takesValue && !inlineValue) {
            if (i + 1 >= arguments.size()) {
                error = argument + u" needs a value"_s;
                return std::nullopt;
            }
            value = arguments.at(++i);
        } else if (!takesValue && inlineValue) {
            error = argument + u" takes no value"_s;
            return std::nullopt;
        }
        if (argument == u"--"_s) {
            optionsEnded = true;
        } else if (argument == u"--suggest"_s) {
            options.bSuggest = true;
        } else if (argument == u"--quiet"_s) {
            options.bQuiet = true;
        } else if (argument == u"--data-dir"_s && !value.isEmpty()) {
            options.strDataDir = value;
        } else if (argument == u"--format"_s && FormatNamed(value)) {
            options.format = *FormatNamed(value);
        } else if (argument == u"--ansi-code-page"_s && IsSupportedCodePage(value.toInt())) {
            options.nAnsiCodePage = value.toInt();
        } else {
            error = takesValue ? u"bad value for "_s + argument + u": "_s + value : u"unknown option "_s + argument;
            return std::nullopt;
        }
    }
    if (!fileSeen) {
        error = u"a playlist FILE is needed"_s;
        return std::nullopt;
    }
    return options;
}

QString Absolute(const QString &path)
{
    return AbsoluteCleanPath(path);
}

bool IsPlaylistName(const QString &path)
{
    return path.endsWith(u".txt"_s, Qt::CaseInsensitive) || path.endsWith(u".mpl"_s, Qt::CaseInsensitive);
}

// Passes messages on and remembers that one was shown: every loader failure shows one.
class CCountingPrompt final : public IMessagePrompt
{
public:
    explicit CCountingPrompt(IMessagePrompt &inner) : m_inner(inner) {}
    void ShowMessage(const QString &text) override
    {
        ++m_nShown;
        m_inner.ShowMessage(text);
    }
    EPromptAnswer AskYesNoCancel(const QString &text) override
    {
        ++m_nShown;
        return m_inner.AskYesNoCancel(text);
    }
    int Shown() const { return m_nShown; }

private:
    IMessagePrompt &m_inner;
    int m_nShown = 0;
};

QStringList Suggestions(CRevItemList &grid, int rows)
{
    QStringList suggestions;
    for (int i = 0; i < rows; ++i) {
        const _ITEMINFO *row = grid.GetRow(i);
        const bool found = row && (row->dwFlags & REV_FOUND);
        QString suggestion;
        if (!found) {
            const QString file = row->szFileName.Text().section(u';', 0, 0);
            for (const QString &folder : grid.SongFolders(i)) {
                suggestion = SuggestMissingFile(folder, file);
                if (!suggestion.isEmpty())
                    break;
            }
        }
        suggestions.append(suggestion);
    }
    return suggestions;
}

bool AllFound(CRevItemList &grid, int rows)
{
    for (int i = 0; i < rows; ++i) {
        const _ITEMINFO *row = grid.GetRow(i);
        if (!row || !(row->dwFlags & REV_FOUND))
            return false;
    }
    return true;
}

} // namespace

int RunPlaylistCommand(const QStringList &arguments)
{
    QString error;
    const auto options = ParseOptions(arguments, error);
    if (!options) {
        PrintError(error + u" (see velmora --help)"_s);
        return 2;
    }
    const QString path = Absolute(options->strFile);
    SFileStatus status;
    if (!QueryFileStatus(path, &status) || status.bFolder) {
        PrintError(u"no such file: "_s + options->strFile);
        return 2;
    }
    if (!IsPlaylistName(path)) {
        PrintError(u"not a playlist (.txt or .mpl): "_s + options->strFile);
        return 2;
    }
    if (!options->strDataDir.isEmpty())
        SetUserDataFolder(Absolute(options->strDataDir));
    if (options->nAnsiCodePage != 0)
        SetAnsiCodePage(options->nAnsiCodePage);

    CRunLogs logs;
    logs.OpenRunLogs();
    if (!logs.IsDirectoryLogOpen() || !logs.IsErrorLogOpen())
        PrintError(u"cannot write the run logs in "_s + UserDataPath());
    SetActiveRunLogs(&logs);
    IMessagePrompt &console = MessagePrompt();
    CCountingPrompt prompt(console);
    SetMessagePrompt(&prompt);

    CStopSignals stopSignals;
    CProgressLine progress(ProgressWanted(options->bQuiet));
    progress.StartPhase(u"reading"_s);
    CRevItemList grid;
    grid.SetKeepSongNumbers(true);
    const int checked = LoadPlaylistAndCheckFiles(grid, path, [&progress](int done, int total) {
        progress.Update(done, total);
        return CStopSignals::Received() == 0;
    });
    progress.Clear();
    const QStringList suggestions = options->bSuggest ? Suggestions(grid, checked) : QStringList();
    const bool allFound = AllFound(grid, checked);

    SetMessagePrompt(&console);
    SetActiveRunLogs(nullptr);
    // A stopped check prints the rows it looked at; the others were never looked for.
    const QByteArray rows = WritePlaylistRows(grid, options->format, suggestions, checked);
    std::fwrite(rows.constData(), 1, size_t(rows.size()), stdout);
    std::fflush(stdout);
    if (CStopSignals::Received() != 0)
        return CStopSignals::ExitStatus();
    return prompt.Shown() == 0 && allFound ? 0 : 1;
}

} // namespace velmora
