#include <gtest/gtest.h>

#include <string>

#include "io/storage_zip.h"
#include "io/stream_zip.h"
#include "support/pak_builder.h"
#include "support/raised.h"
#include "support/temp_dir.h"

namespace {

using namespace xIo;
using namespace xIo::xRepository;
using qeltest::PakEntry;

std::string ReadAll(eStream& stream) {
    std::string text(static_cast<size_t>(stream.Size()), '\0');
    stream.Read(text.data(), stream.Size());
    return text;
}

std::string Pattern(size_t size) {
    std::string text;
    for (size_t i = 0; i < size; ++i) text += static_cast<char>('a' + (i * 7 + i / 13) % 26);
    return text;
}

TEST(ZipStream, ReadsStoredAndDeflatedEntries) {
    qeltest::TempDir dir;
    std::string big = Pattern(200000);
    qeltest::WritePak(dir / "a.pak", {{"Stored.TXT", "plain text", false},
                                       {"dir\\deflated.txt", big, true},
                                       {"empty.txt", "", true},
                                       {"sub/", "", false}});
    eZipStorage storage(dir / "a.pak");
    // Entry names are normalised like resource paths; directories are no entries.
    EXPECT_TRUE(storage.Exists("stored.txt"));
    EXPECT_TRUE(storage.Exists("dir/deflated.txt"));
    EXPECT_FALSE(storage.Exists("sub/"));
    EXPECT_FALSE(storage.Exists("missing.txt"));
    EXPECT_EQ(ReadAll(*storage.Open("stored.txt", kModeRead)), "plain text");
    EXPECT_EQ(ReadAll(*storage.Open("dir/deflated.txt", kModeRead)), big);
    EXPECT_EQ(storage.Open("empty.txt", kModeRead)->Size(), 0);
    EXPECT_EQ(storage.Open("missing.txt", kModeRead), nullptr);
    EXPECT_EQ(storage.Open("stored.txt", kModeWrite), nullptr);
    // The window is the whole entry: seeking anywhere works without refills.
    auto stream = storage.Open("dir/deflated.txt", kModeRead);
    stream->Seek(150000, 0);
    char c;
    stream->Read(&c, 1);
    EXPECT_EQ(c, big[150000]);
    EXPECT_EQ(qeltest::RaisedMessage([&] { stream->Seek(10, 2).Read(&c, 11); }),
              "Stream error: read past the end of the stream (position 199990, size 200000)");
}

TEST(ZipStream, ArchivesThatCannotBeOpened) {
    qeltest::TempDir dir;
    qeltest::WriteFile(dir / "text.pak", "this is no archive at all, just text padding padding padding");
    qeltest::WriteFile(dir / "empty.pak", "");
    for (const std::string& name : {std::string("text.pak"), std::string("empty.pak"), std::string("missing.pak")}) {
        std::optional<xDebug::eEx_Custom> e = qeltest::Raised([&] { eZipStorage storage(dir / name); });
        ASSERT_TRUE(e) << name;
        EXPECT_EQ(e->message, dir / name + ": can't open .pak");
        EXPECT_EQ(e->source, "io/stream_zip");
    }
}

// Every prefix of a valid archive fails with an error, and never reads wrong
// content. Only the end record's last fields may go missing unnoticed: they
// locate nothing that reading needs.
TEST(ZipStream, EveryTruncationFailsCleanly) {
    qeltest::TempDir dir;
    std::string content = Pattern(3000);
    std::string archive = qeltest::PakBytes({{"a.txt", content, true}, {"b.txt", "stored", false}});
    for (size_t length = 0; length < archive.size(); ++length) {
        qeltest::WriteFile(dir / "t.pak", archive.substr(0, length));
        std::string message = qeltest::RaisedMessage([&] {
            eZipStorage storage(dir / "t.pak");
            for (const char* name : {"a.txt", "b.txt"})
                if (storage.Exists(name)) {
                    std::string read = ReadAll(*storage.Open(name, kModeRead));
                    EXPECT_EQ(read, name[0] == 'a' ? content : "stored");
                }
        });
        if (length < archive.size() - 22) {
            EXPECT_NE(message, "") << "prefix of " << length << " bytes was accepted";
        }
    }
}

TEST(ZipStream, EntriesWhoseHeadersLie) {
    qeltest::TempDir dir;
    std::string content = Pattern(5000);
    struct Case {
        const char* what;
        bool deflated;
        qeltest::PakField field;
        uint32_t value;
        const char* reason;
    };
    const Case cases[] = {
        {"gigabytes declared", true, qeltest::PakField::UncompressedSize, 3000000000u, "declared size too large"},
        {"beyond deflate's ratio", true, qeltest::PakField::UncompressedSize, 1500000000u, "declared sizes disagree"},
        {"stored sizes differ", false, qeltest::PakField::UncompressedSize, 4000, "declared sizes disagree"},
        {"larger than the archive", false, qeltest::PakField::CompressedSize, 90000000u, "declared size beyond the archive"},
        {"bad CRC, deflated", true, qeltest::PakField::Crc, 0x12345678u, "bad CRC"},
        {"bad CRC, stored", false, qeltest::PakField::Crc, 0x12345678u, "bad CRC"},
        {"more declared than inflated", true, qeltest::PakField::UncompressedSize, 6000, "truncated"},
    };
    for (const Case& c : cases) {
        std::string archive = qeltest::PakBytes({{"e.bin", content, c.deflated}});
        qeltest::PatchPak(archive, c.field, c.value);
        qeltest::WriteFile(dir / "lie.pak", archive);
        std::optional<xDebug::eEx_Custom> e = qeltest::Raised([&] {
            eZipStorage storage(dir / "lie.pak");
            storage.Open("e.bin", kModeRead);
        });
        ASSERT_TRUE(e) << c.what;
        EXPECT_EQ(e->message, dir / "lie.pak: bad entry e.bin (" + c.reason + ")") << c.what;
        EXPECT_EQ(e->source, "io/stream_zip");
    }
}

TEST(ZipStream, ContainerIsSharedAndOutlivesNoUser) {
    qeltest::TempDir dir;
    qeltest::WritePak(dir / "a.pak", {{"x", "1", true}});
    eRef<eZipContainer> first(new eZipContainer(dir / "a.pak"));
    eRef<eZipContainer> second = first;
    EXPECT_EQ(first->RefCount(), 2);
    second = eRef<eZipContainer>();
    EXPECT_EQ(first->RefCount(), 1);
    eZipStream stream(*first, "x");
    EXPECT_EQ(ReadAll(stream), "1");
}

}  // namespace
