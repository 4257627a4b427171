// The folder listings that findFile keeps: a listing read from a folder that has settled
// is kept, and must be read again as soon as the folder changes.
#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <ctime>

#include "store/file_names.h"
#include "support/testdir.h"

namespace fs = std::filesystem;
using zt::test::TestDir;

TEST(FileNamesCache, ANameAddedToASettledFolderIsFoundInTheSameProcess) {
    TestDir dir;
    dir.write("Zentoria.mdb", "");
    // The folder settled long ago, without sleeping: its time 10 s in the past, so the
    // listing read now is kept.
    timespec times[2];
    ::clock_gettime(CLOCK_REALTIME, &times[0]);
    times[0].tv_sec -= 10;
    times[1] = times[0];
    ASSERT_EQ(::utimensat(AT_FDCWD, dir.path().c_str(), times, 0), 0);

    EXPECT_EQ(zt::store::findFile(dir.path(), "Security.pwd"), dir / "Security.pwd");  // not there
    EXPECT_EQ(zt::store::findFile(dir.path(), "zentoria.MDB"), dir / "Zentoria.mdb");  // read from the listing

    dir.write("SECURITY.PWD", "x");  // changes the folder's time
    EXPECT_EQ(zt::store::findFile(dir.path(), "Security.pwd"), dir / "SECURITY.PWD");

    // The same with the folder's time set back again after the change: the time differs
    // from the kept listing's, so the change is still seen.
    ASSERT_EQ(::utimensat(AT_FDCWD, dir.path().c_str(), times, 0), 0);
    EXPECT_EQ(zt::store::findFile(dir.path(), "security.pwd"), dir / "SECURITY.PWD");
    fs::remove(dir / "SECURITY.PWD");
    times[0].tv_sec -= 5;
    times[1] = times[0];
    ASSERT_EQ(::utimensat(AT_FDCWD, dir.path().c_str(), times, 0), 0);
    EXPECT_EQ(zt::store::findFile(dir.path(), "Security.pwd"), dir / "Security.pwd");
}
