// velmora-samplegen OUTDIR: writes the deterministic sample karaoke library into OUTDIR.

#include "samplegen/SampleLibrary.h"

#include <QString>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kUsageOrWriteError = 2;

void PrintUsage(std::FILE *stream)
{
    std::fputs("usage: velmora-samplegen OUTDIR\n"
               "Writes a small sample karaoke library (MP3, CD+G and problem files) into OUTDIR.\n",
               stream);
}

} // namespace

int main(int argc, char *argv[])
{
    const QString outDir = argc == 2 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (outDir == u"-h"_s || outDir == u"--help"_s) {
        PrintUsage(stdout);
        return 0;
    }
    if (outDir.isEmpty() || outDir.startsWith(u'-')) {
        std::fputs(argc == 2 && !outDir.isEmpty() ? "velmora-samplegen: unknown option\n"
                                                  : "velmora-samplegen: expected one output folder\n",
                   stderr);
        PrintUsage(stderr);
        return kUsageOrWriteError;
    }

    QString error;
    int fileCount = 0;
    if (!velmora::samplegen::WriteSampleLibrary(outDir, &error, &fileCount)) {
        std::fprintf(stderr, "velmora-samplegen: %s\n", error.toLocal8Bit().constData());
        return kUsageOrWriteError;
    }
    std::printf("Sample library written to %s (%d files)\n", outDir.toLocal8Bit().constData(), fileCount);
    return 0;
}
