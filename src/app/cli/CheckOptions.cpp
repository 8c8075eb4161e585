#include "app/cli/CheckOptions.h"

#include "platform/CodePage.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

std::optional<EOutputFormat> FormatNamed(const QString &name)
{
    if (name == u"text"_s) return EOutputFormat::Text;
    if (name == u"json"_s) return EOutputFormat::Json;
    if (name == u"csv"_s) return EOutputFormat::Csv;
    return std::nullopt;
}

// Splits "--name=value" into its parts; value stays empty without "=".
QString SplitInlineValue(QString &argument, bool *hasValue)
{
    const qsizetype equals = argument.indexOf(u'=');
    *hasValue = argument.startsWith(u"--"_s) && equals > 2;
    if (!*hasValue)
        return {};
    const QString value = argument.mid(equals + 1);
    argument.truncate(equals);
    return value;
}

} // namespace

std::optional<SCheckOptions> ParseCheckOptions(const QStringList &arguments, QString *error)
{
    SCheckOptions options;
    bool folderSeen = false;
    bool existingSeen = false;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(u'-') || argument == u"-"_s) {
            if (folderSeen) {
                *error = u"only one FOLDER may be given"_s;
                return std::nullopt;
            }
            options.strFolder = argument;
            folderSeen = true;
            continue;
        }
        bool hasValue = false;
        QString value = SplitInlineValue(argument, &hasValue);
        const bool takesValue =
            argument == u"--format"_s || argument == u"--data-dir"_s || argument == u"--ansi-code-page"_s
            || argument == u"--engine"_s || argument == u"--jobs"_s || argument == u"--move-to"_s;
        if (takesValue && !hasValue) {
            if (i + 1 >= arguments.size()) {
                *error = argument + u" needs a value"_s;
                return std::nullopt;
            }
            value = arguments.at(++i);
        } else if (!takesValue && hasValue) {
            *error = argument + u" takes no value"_s;
            return std::nullopt;
        }
        if (argument == u"--"_s) {
            optionsEnded = true;
        } else if (argument == u"--songs"_s) {
            options.bSongs = true;
        } else if (argument == u"--subfolders"_s) {
            options.bSubfolders = true;
        } else if (argument == u"--trace"_s) {
            options.bTrace = true;
        } else if (argument == u"--quiet"_s) {
            options.bQuiet = true;
        } else if (argument == u"--move-to"_s) {
            if (value.isEmpty()) {
                *error = u"--move-to needs a folder"_s;
                return std::nullopt;
            }
            options.strMoveTo = value;
        } else if (argument == u"--overwrite"_s || argument == u"--keep-existing"_s) {
            const EExistingTarget existing =
                argument == u"--overwrite"_s ? EExistingTarget::Overwrite : EExistingTarget::Keep;
            if (existingSeen && existing != options.existing) {
                *error = u"--overwrite and --keep-existing exclude each other"_s;
                return std::nullopt;
            }
            existingSeen = true;
            options.existing = existing;
        } else if (argument == u"--dry-run"_s) {
            options.bDryRun = true;
        } else if (argument == u"--no-cache"_s) {
            options.bNoCache = true;
        } else if (argument == u"--full-check"_s) {
            options.bFullCheck = true;
        } else if (argument == u"--verify"_s) {
            options.bVerify = true;
        } else if (argument == u"--only-problems"_s) {
            options.bOnlyProblems = true;
        } else if (argument == u"--data-dir"_s) {
            if (value.isEmpty()) {
                *error = u"--data-dir needs a folder"_s;
                return std::nullopt;
            }
            options.strDataDir = value;
        } else if (argument == u"--ansi-code-page"_s) {
            bool ok = false;
            options.nAnsiCodePage = value.toInt(&ok);
            if (!ok || !IsSupportedCodePage(options.nAnsiCodePage)) {
                *error = u"unsupported code page '"_s + value + u"' (1252, 1251, 949, 932, 936, 950 or 65001)"_s;
                return std::nullopt;
            }
        } else if (argument == u"--engine"_s) {
            if (value != u"tool"_s && value != u"library"_s) {
                *error = u"unknown engine '"_s + value + u"' (tool or library)"_s;
                return std::nullopt;
            }
            options.strEngine = value;
        } else if (argument == u"--jobs"_s) {
            bool ok = false;
            options.nJobs = value.toInt(&ok);
            if (!ok || options.nJobs < 1 || options.nJobs > 64) {
                *error = u"--jobs needs a number from 1 to 64"_s;
                return std::nullopt;
            }
        } else if (argument == u"--format"_s) {
            const auto format = FormatNamed(value);
            if (!format) {
                *error = u"unknown format '"_s + value + u"' (text, json or csv)"_s;
                return std::nullopt;
            }
            options.format = *format;
        } else {
            *error = u"unknown option "_s + argument;
            return std::nullopt;
        }
    }
    if (options.strMoveTo.isEmpty() && (existingSeen || options.bDryRun)) {
        *error = u"--overwrite, --keep-existing and --dry-run need --move-to"_s;
        return std::nullopt;
    }
    if (options.bVerify && !options.bSongs) {
        *error = u"--verify goes with --songs"_s;
        return std::nullopt;
    }
    if (options.bOnlyProblems && !options.bVerify) {
        *error = u"--only-problems goes with --verify"_s;
        return std::nullopt;
    }
    // A quarantine never replaces a file: a broken song must not cost a good one.
    if (options.bVerify && existingSeen && options.existing == EExistingTarget::Overwrite) {
        *error = u"--overwrite cannot go with --verify: the quarantine never replaces a file"_s;
        return std::nullopt;
    }
    if (!folderSeen || options.strFolder.isEmpty()) {
        *error = u"no FOLDER given"_s;
        return std::nullopt;
    }
    return options;
}

} // namespace velmora
