#include "check/CheckFixture.h"

#include "check/TreeListing.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

QStringList PathsOf(const std::vector<SListedFile> &files)
{
    QStringList paths;
    for (const SListedFile &file : files)
        paths.append(file.strFolder + u'/' + file.strName);
    return paths;
}

} // namespace

TEST(TreeListing, GivesTheTreesFilesInTheWalksOrderAndListsNothingOnceStopped)
{
    test::CCheckFixture f;
    for (int folder = 0; folder < 40; ++folder)
        for (int song = 0; song < 3; ++song)
            f.AddFile(u"Disc %1/Sub/%2.mp3"_s.arg(folder).arg(song));
    f.AddFile(u"top.cdg"_s);
    const QStringList walked = PathsOf(ListFolderTree(f.Root()));
    ASSERT_EQ(walked.size(), 121);

    CTreeListing listing(f.Root());
    int asked = 0;
    EXPECT_EQ(PathsOf(listing.Take([&asked] { return ++asked > 1000; })), walked);

    // Stopped at once, it ends after the folder it is in: what it gives is the start of the
    // whole listing, every file whole.
    CTreeListing stoppedListing(f.Root());
    const QStringList partial = PathsOf(stoppedListing.Take([] { return true; }));
    EXPECT_EQ(partial, walked.mid(0, partial.size()));

    const std::atomic<bool> stopped = true;
    EXPECT_TRUE(ListFolderTree(f.Root(), &stopped).empty());
    // A listing dropped untaken stops and is waited for.
    { CTreeListing dropped(f.Root()); }
}
