// save_posix.cpp: what the save tests of every system ask of Linux: the player's saves run as a user
// who is not root, files' inode numbers, and the cases of links, FIFOs and folders the player may not write.
#include <ftw.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/save.h"
#include "save_cases.h"
#include "support.h"

const char *const SystemLineEnd = "\n";

// The old file, of one name.
static void oldFile(const std::string &folder)
{
    writeFile(folder + "kept.dat", "an old text\n");
}

std::vector<SaveCase> systemSaveCases()
{
    return {
        {"a FIFO in the file's place", [](const std::string &folder) { mkfifo((folder + "kept.dat").c_str(), 0644); },
         false, "not a file", SaveEnd::LeftAlone, false, nullptr, nullptr},
        {"a FIFO under the temporary file's name", [](const std::string &folder) {
             oldFile(folder);
             mkfifo((folder + "kept.dat.new").c_str(), 0644);
         }, false, "", SaveEnd::Replaced, false, nullptr, nullptr},
        {"the player's link to a file in another folder", [](const std::string &folder) {
             mkdir((folder + "elsewhere").c_str(), 0755);
             writeFile(folder + "elsewhere/kept.dat", "an old text\n");
             symlink("elsewhere/kept.dat", (folder + "kept.dat").c_str());
         }, false, "", SaveEnd::InPlace, false, "elsewhere/kept.dat", nullptr},
        {"a link leading nowhere", [](const std::string &folder) { symlink("nowhere", (folder + "kept.dat").c_str()); },
         false, "", SaveEnd::Created, false, nullptr, nullptr},
        {"a link to a device", [](const std::string &folder) { symlink("/dev/null", (folder + "kept.dat").c_str()); },
         false, "not a file", SaveEnd::LeftAlone, false, nullptr, nullptr},
        {"a file the player may write in a folder they may not", oldFile, true, "", SaveEnd::InPlace, false, nullptr, nullptr},
        {"no file in a folder the player may not write", [](const std::string &) {}, true, "Permission denied",
         SaveEnd::NothingMade, false, nullptr, nullptr},
        // The new file cannot be written whole: the old one stays, and the failure is told.
        {"a limit on the size of files the player writes", oldFile, false, "File too large", SaveEnd::LeftAlone, false,
         nullptr, [] {
             signal(SIGXFSZ, SIG_IGN);
             struct rlimit limit = {2, 2};
             setrlimit(RLIMIT_FSIZE, &limit);
         }},
    };
}

std::string freshSaveFolder()
{
    return makeTempDir();
}

static int giveToPlayer(const char *path, const struct stat *, int, struct FTW *)
{
    return lchown(path, PlayerUid, PlayerUid);
}

std::string saveAsPlayer(const SaveCase &c, const std::string &folder, const std::string &path, const std::string &bytes)
{
    const bool root = geteuid() == 0;
    if (root && nftw(folder.c_str(), giveToPlayer, 8, FTW_PHYS) != 0)
        return "(the folder could not be given to the player)";
    chmod(folder.c_str(), c.folderLocked ? 0555 : 0755);
    int answer[2];
    if (pipe(answer) != 0)
        return "(no pipe)";
    auto save = [&] {
        alarm(5);  // a save that waits on a FIFO ends here
        if (c.inSaver)
            c.inSaver();
        std::string words = writeWholeFile(path, bytes);
        return write(answer[1], words.data(), words.size()) == static_cast<ssize_t>(words.size());
    };
    bool saved = asPlayer(save);
    close(answer[1]);
    std::string words;
    char part[256];
    for (ssize_t got; (got = read(answer[0], part, sizeof part)) > 0;)
        words.append(part, static_cast<size_t>(got));
    close(answer[0]);
    chmod(folder.c_str(), 0755);
    return saved ? words : "(the save did not end)";
}

unsigned long long fileIdentity(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<unsigned long long>(info.st_ino) : 0;
}

// The game started once by root (through sudo, say) replaces the player's file with one that is
// still the player's, with the same mode: the player's next game may save it again.
TEST(Saves, RootSavesAPlayersFileAsThePlayersStill)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root";
    std::string folder = freshSaveFolder();
    std::string path = folder + "kept.dat";
    writeFile(path, "an old text\n");
    ASSERT_EQ(chown(folder.c_str(), PlayerUid, PlayerUid), 0);
    ASSERT_EQ(chown(path.c_str(), PlayerUid, PlayerUid), 0);
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    unsigned long long before = fileIdentity(path);
    EXPECT_EQ(writeWholeFile(path, "a new text\n"), "");
    struct stat after;
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_NE(fileIdentity(path), before) << "replaced whole, not rewritten in place";
    EXPECT_EQ(after.st_uid, PlayerUid);
    EXPECT_EQ(after.st_gid, PlayerUid);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(readFile(path), "a new text\n");
}
