#include "app/cli/ProgressLine.h"
#include "app/cli/StopSignals.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

// A terminal of 60 columns whose clock the test moves.
struct SFakeTerminal
{
    QByteArray written;
    CProgressLine::Clock::time_point now{};

    CProgressLine::STerminal Terminal()
    {
        return {[this](const QByteArray &bytes) { written += bytes; }, [] { return 60; }, [this] { return now; }};
    }
    void Advance(int milliseconds) { now += std::chrono::milliseconds(milliseconds); }
};

} // namespace

TEST(ProgressText, SaysWhatIsKnownAndNoMore)
{
    EXPECT_EQ(ProgressText(u"walking"_s, 1, -1, 0.2, 80), u"walking: 1 file"_s);
    EXPECT_EQ(ProgressText(u"walking"_s, 12345, -1, 0.5, 80), u"walking: 12,345 files"_s);
    // The rate comes after the first second, the time left once the rate has settled.
    EXPECT_EQ(ProgressText(u"reading"_s, 40, 1000, 0.9, 80), u"reading: 40 of 1,000 files"_s);
    EXPECT_EQ(ProgressText(u"reading"_s, 40, 1000, 2.0, 80), u"reading: 40 of 1,000 files, 20 files/s"_s);
    EXPECT_EQ(ProgressText(u"reading"_s, 100, 1000, 4.0, 80), u"reading: 100 of 1,000 files, 25 files/s, 0:36 left"_s);
    EXPECT_EQ(ProgressText(u"verifying"_s, 1000, 100000, 5.0, 80),
              u"verifying: 1,000 of 100,000 files, 200 files/s, 8:15 left"_s);
    EXPECT_EQ(ProgressText(u"reading"_s, 10, 100000, 10.0, 80), u"reading: 10 of 100,000 files, 1 files/s, 27:46:30 left"_s);
    // Nothing done yet, or all done: no rate to divide by, no time left.
    EXPECT_EQ(ProgressText(u"reading"_s, 0, 50, 7.0, 80), u"reading: 0 of 50 files"_s);
    EXPECT_EQ(ProgressText(u"reading"_s, 50, 50, 7.0, 80), u"reading: 50 of 50 files, 7 files/s"_s);
    // Never into the last column of a narrow terminal.
    EXPECT_EQ(ProgressText(u"reading"_s, 100, 1000, 4.0, 20), u"reading: 100 of 1,0"_s);
}

TEST(ProgressLine, DrawsAtOnceThenAtMostTenTimesASecondAndClearsOnce)
{
    SFakeTerminal terminal;
    {
        CProgressLine line(terminal.Terminal());
        line.StartPhase(u"walking"_s);
        EXPECT_TRUE(terminal.written.isEmpty());
        line.Update(0, -1);
        EXPECT_EQ(terminal.written, "\rwalking: 0 files\x1b[K");
        terminal.written.clear();

        for (int i = 1; i <= 50; ++i) {
            terminal.Advance(1);
            line.Update(i, -1);
        }
        EXPECT_TRUE(terminal.written.isEmpty()) << "50 updates within 50 ms draw nothing";
        terminal.Advance(60);
        line.Update(51, -1);
        EXPECT_EQ(terminal.written, "\rwalking: 51 files\x1b[K");

        terminal.written.clear();
        line.Clear();
        line.Clear();
        EXPECT_EQ(terminal.written, "\r\x1b[K");

        // After a clear (say, for a trace line) the next update draws again at once.
        terminal.written.clear();
        line.Update(52, -1);
        EXPECT_EQ(terminal.written, "\rwalking: 52 files\x1b[K");

        // A new phase shows its first count at once, however recent the last drawing.
        terminal.written.clear();
        line.StartPhase(u"reading"_s);
        line.Update(0, 70);
        EXPECT_EQ(terminal.written, "\rreading: 0 of 70 files\x1b[K");
        terminal.written.clear();
    }
    EXPECT_EQ(terminal.written, "\r\x1b[K") << "the line does not outlive its object";
}

TEST(ProgressLine, ADisabledLineWritesNothing)
{
    CProgressLine line(false);
    EXPECT_FALSE(line.IsEnabled());
    line.StartPhase(u"reading"_s);
    line.Update(1, 2);
    line.Clear();
    EXPECT_TRUE(line.Phase().isEmpty());
}

TEST(StopSignals, TheFirstSignalAsksTheSecondEndsAtOnce)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CStopSignals installed;
        ::raise(SIGINT);
        if (CStopSignals::Received() != SIGINT || CStopSignals::ExitStatus() != 130)
            ::_exit(1);
        ::raise(SIGINT); // ends here
        ::_exit(2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
}

TEST(StopSignals, TerminationIsRecordedAndTheOldHandlersComeBack)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        {
            CStopSignals installed;
            ::raise(SIGTERM);
            if (CStopSignals::ExitStatus() != 143)
                ::_exit(1);
        }
        ::raise(SIGTERM); // the default action again: the process ends by the signal
        ::_exit(2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
}
