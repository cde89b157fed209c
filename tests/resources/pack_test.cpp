// Pack files and the data store: reading records, missing packs and entries, damaged files.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/platform.h"
#include "resources/formats.h"
#include "resources/pack.h"
#include "resources/writer.h"
#include "support/support.h"

namespace {

class Packs : public ::testing::Test {
 protected:
  void SetUp() override {
    Global_data.clear();
    Resource_dir = Make_temp_folder() + "/";
  }
  void TearDown() override { Global_data.clear(); }
  void Write_pack(const std::string& name, const std::string& bytes) {
    Write_file(Resource_dir + name, bytes);
  }
  std::string Entry_bytes(const std::string& pack, const std::string& entry) {
    Raw_data& data = Get_data_from_data_store(pack, entry);
    return std::string(reinterpret_cast<const char*>(data.pos), data.size);
  }
};

TEST_F(Packs, RecordsOfSizesZeroFiveAndOneReadBackWhole) {
  std::string long_name(63, 'n');
  Write_pack("a.pak", Pack_record("empty", "") + Pack_record("five.wav", "12345") +
                          Pack_record(long_name, "x"));
  Load_pack_from_file_data_store("a.pak");
  ASSERT_EQ(Global_data["a.pak"].size(), 3u);
  Raw_data& empty = Get_data_from_data_store("a.pak", "empty");
  EXPECT_EQ(empty.size, 0u);
  EXPECT_EQ(Entry_bytes("a.pak", "five.wav"), "12345");
  EXPECT_EQ(Entry_bytes("a.pak", long_name), "x");
  Raw_data& five = Get_data_from_data_store("a.pak", "five.wav");
  EXPECT_EQ(five.idle, 1);
  EXPECT_EQ(five.image, nullptr);
}

TEST_F(Packs, APackIsReadOnceForAllItsEntries) {
  Write_pack("b.pak", Pack_record("one", "1") + Pack_record("two", "22"));
  EXPECT_EQ(Entry_bytes("b.pak", "one"), "1");
  // Changing the file afterwards changes nothing: the pack is not read again.
  Write_pack("b.pak", Pack_record("one", "changed") + Pack_record("two", "changed"));
  EXPECT_EQ(Entry_bytes("b.pak", "two"), "22");
  Load_pack_from_file_data_store("b.pak");
  EXPECT_EQ(Entry_bytes("b.pak", "one"), "1");
}

TEST_F(Packs, LaterDuplicateWinsAndNamesMatchExactlyWithCase) {
  Write_pack("c.pak", Pack_record("fon.3DS", "old") + Pack_record("fon.3ds", "lower") +
                          Pack_record("fon.3DS", "new!"));
  EXPECT_EQ(Entry_bytes("c.pak", "fon.3DS"), "new!");
  EXPECT_EQ(Entry_bytes("c.pak", "fon.3ds"), "lower");
  EXPECT_EQ(Global_data["c.pak"].size(), 2u);
}

TEST_F(Packs, MissingPackIsReportedOnceAndEachMissingEntryEveryTime) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(Get_data_from_data_store("gone.pak", "x").size, 0u);
  EXPECT_EQ(Get_data_from_data_store("gone.pak", "y").size, 0u);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Load_pack_from_file_data_store) Pack file <gone.pak> no found!\n"
            "(Get_data_from_data_store)) In pack <gone.pak> data <x> no found!\n"
            "(Get_data_from_data_store)) In pack <gone.pak> data <y> no found!\n");
  // The empty entry created for a miss is found silently afterwards.
  testing::internal::CaptureStdout();
  EXPECT_EQ(Get_data_from_data_store("gone.pak", "x").size, 0u);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(Packs, EmptyFileAddsNothing) {
  Write_pack("zero.pak", "");
  Load_pack_from_file_data_store("zero.pak");
  EXPECT_EQ(Global_data.count("zero.pak"), 0u);
  testing::internal::CaptureStdout();
  EXPECT_EQ(Get_data_from_data_store("zero.pak", "x").size, 0u);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Get_data_from_data_store)) In pack <zero.pak> data <x> no found!\n");
}

TEST_F(Packs, SizeRunningPastTheEndStopsReadingAndKeepsWhatWasRead) {
  std::string damaged = Pack_record("good", "abc") + Pack_record("liar", "0123456789");
  damaged.resize(damaged.size() - 4);
  Write_pack("d.pak", damaged);
  testing::internal::CaptureStdout();
  Load_pack_from_file_data_store("d.pak");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Load_pack_from_file_data_store) Pack file <d.pak> damaged at byte <71>!\n");
  EXPECT_EQ(Entry_bytes("d.pak", "good"), "abc");
  EXPECT_EQ(Global_data["d.pak"].size(), 1u);
}

TEST_F(Packs, HugeDeclaredSizeDoesNotWrapAround) {
  std::string record = Pack_record("huge", "");
  Write_u32(reinterpret_cast<unsigned char*>(&record[64]), 0xFFFFFFF0u);
  Write_pack("e.pak", Pack_record("first", "1") + record + "tail");
  testing::internal::CaptureStdout();
  Load_pack_from_file_data_store("e.pak");
  EXPECT_NE(testing::internal::GetCapturedStdout().find("damaged"), std::string::npos);
  EXPECT_EQ(Global_data["e.pak"].size(), 1u);
}

TEST_F(Packs, NameWithoutNulAndTruncatedHeaderAreRejected) {
  std::string no_nul = Pack_record("x", "data");
  std::memset(&no_nul[0], 'A', 64);
  Write_pack("f.pak", Pack_record("ok", "1") + no_nul);
  testing::internal::CaptureStdout();
  Load_pack_from_file_data_store("f.pak");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Load_pack_from_file_data_store) Pack file <f.pak> damaged at byte <69>!\n");
  EXPECT_EQ(Global_data["f.pak"].size(), 1u);

  Write_pack("g.pak", Pack_record("ok", "1") + std::string(30, 'z'));
  testing::internal::CaptureStdout();
  Load_pack_from_file_data_store("g.pak");
  EXPECT_NE(testing::internal::GetCapturedStdout().find("<g.pak> damaged"), std::string::npos);
  EXPECT_EQ(Global_data["g.pak"].size(), 1u);
}

TEST_F(Packs, WavWriterPutsTheFieldsAtTheFixedOffsets) {
  std::string wav = Wav_bytes(std::string(100, '\x10'), 2, 22050, 16);
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(wav.data());
  uint32_t riff = Read_u32(bytes + Wav_riff_size_offset);
  uint32_t format = Read_u32(bytes + Wav_format_size_offset);
  EXPECT_EQ(Read_u16(bytes + Wav_channels_offset), 2);
  EXPECT_EQ(Read_u32(bytes + Wav_rate_offset), 22050u);
  EXPECT_EQ(Read_u16(bytes + Wav_bits_offset), 16);
  EXPECT_EQ(Wav_pcm_start_base + format, 44u);
  EXPECT_EQ(riff - format - Wav_pcm_size_base, 100u);
  EXPECT_EQ(wav.size(), 144u);
}

}  // namespace
