#include "base/stream.h"

#include "base/fsys.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(FileStream, SizeFollowsWritesSeeksAndResizes) {
    test::TempDir d;
    std::string path = d / "f.bin";
    FileStream f;
    ASSERT_TRUE(f.Open(path, FileStream::Mode::Create));
    EXPECT_EQ(f.Size(), 0);
    f.WriteI32(1);
    f.WriteI32(2);
    EXPECT_EQ(f.Size(), 8);
    f.Seek(2);
    f.WriteU8(9); // inside: no growth
    EXPECT_EQ(f.Size(), 8);
    EXPECT_EQ(f.Remaining(), 5);
    f.Seek(8);
    f.WriteI32(3); // at the end: grows
    EXPECT_EQ(f.Size(), 12);
    f.SetSize(6);
    EXPECT_EQ(f.Size(), 6);
    ASSERT_TRUE(f.Close());

    ASSERT_TRUE(f.Open(path, FileStream::Mode::Update));
    EXPECT_EQ(f.Size(), 6);
    f.Seek(6);
    f.WriteU8(7);
    EXPECT_EQ(f.Size(), 7);
    f.Seek(0);
    EXPECT_EQ(f.ReadU8(), 1);
    EXPECT_EQ(f.Remaining(), 6);
    ASSERT_TRUE(f.Close());
    EXPECT_EQ(test::ReadFile(path).size(), 7u);
}

TEST(Stream, StoredLengthsAreCheckedBeforeAllocating) {
    MemoryStream s;
    s.WriteI32(0x7FFFFFFF);
    s.WriteExact("abc", 3);
    s.Seek(0);
    EXPECT_THROW(s.ReadString(), StreamError);
    s.Seek(0);
    s.WriteI32(-1);
    s.Seek(0);
    EXPECT_THROW(s.ReadString(), StreamError);
    s.Seek(0);
    s.WriteI32(3);
    s.Seek(0);
    EXPECT_EQ(s.ReadString(), "abc");
    EXPECT_THROW(s.ReadU8(), StreamError);
}

TEST(SubStream, StopsAtItsEnd) {
    MemoryStream base(std::vector<uint8_t>{1, 2, 3, 4, 5, 6});
    SubStream sub(base, 2, 3);
    EXPECT_EQ(sub.Size(), 3);
    EXPECT_EQ(sub.ReadU8(), 3);
    EXPECT_EQ(sub.ReadU8(), 4);
    EXPECT_EQ(sub.ReadU8(), 5);
    EXPECT_THROW(sub.ReadU8(), StreamError);
}

// A whole file read at once: within the limit it is read exactly, an empty
// file is empty, a missing or larger file leaves the buffer as it was.
TEST(ReadFileBytes, ReadsWithinTheLimitOnly) {
    test::TempDir dir;
    const std::string file = dir / "data.bin";
    ASSERT_TRUE(test::WriteFile(file, std::string("ab\0cd", 5)));
    std::vector<uint8_t> out{9};
    EXPECT_TRUE(fsys::ReadFileBytes(file, 5, out));
    EXPECT_EQ(out, (std::vector<uint8_t>{'a', 'b', 0, 'c', 'd'}));

    out = {9};
    EXPECT_FALSE(fsys::ReadFileBytes(file, 4, out));
    EXPECT_FALSE(fsys::ReadFileBytes(dir / "none.bin", 100, out));
    EXPECT_FALSE(fsys::ReadFileBytes(dir.path(), 100, out)); // a folder
    EXPECT_EQ(out, std::vector<uint8_t>{9});

    ASSERT_TRUE(test::WriteFile(file, ""));
    EXPECT_TRUE(fsys::ReadFileBytes(file, 0, out));
    EXPECT_TRUE(out.empty());
}

} // namespace
} // namespace orv
