#include "fuzz/FuzzTargets.h"

#include "samplegen/SampleLibrary.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora::fuzz;

namespace {

QByteArray FileContent(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
    return file.readAll();
}

} // namespace

// Every input a fuzzer once crashed on is kept in fuzz/regressions/<harness>/ and must pass
// its harness from then on.
TEST(FuzzRegressionTest, SavedInputsPassTheirHarness)
{
    const QDir regressions(QStringLiteral(VELMORA_FUZZ_DIR) + u"/regressions"_s);
    int replayed = 0;
    for (const QString &harness : regressions.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const SFuzzTarget *target = FindFuzzTarget(harness.toUtf8());
        ASSERT_NE(target, nullptr) << "no harness for the folder " << qPrintable(harness);
        QDirIterator inputs(regressions.filePath(harness), QDir::Files);
        while (inputs.hasNext()) {
            const QString path = inputs.next();
            EXPECT_TRUE(target->run(FileContent(path))) << qPrintable(path);
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0) << "no saved inputs found in " << qPrintable(regressions.path());
}

// The harnesses themselves hold on good input: each sample file passes every harness, so a
// promise a harness checks that the readers do not keep shows up here, not in a fuzz run.
TEST(FuzzRegressionTest, SampleLibraryPassesEveryHarness)
{
    const QList<velmora::samplegen::SSampleFile> samples = velmora::samplegen::BuildSampleLibrary();
    for (const SFuzzTarget &target : FuzzTargets()) {
        for (const auto &sample : samples)
            EXPECT_TRUE(target.run(sample.content)) << target.name << ": " << qPrintable(sample.relativePath);
    }
}

TEST(FuzzRegressionTest, HarnessesAreFoundByName)
{
    for (const SFuzzTarget &target : FuzzTargets())
        EXPECT_EQ(FindFuzzTarget(target.name), &target);
    EXPECT_EQ(FindFuzzTarget("no-such-harness"), nullptr);
}
