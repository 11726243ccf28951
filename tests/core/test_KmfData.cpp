// TKmfData and TMemory: the byte forms on files and in memory, bounds on stored counts, the
// text scanners, write failures and file names.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#include "hxcadkit/core/DString.h"
#include "hxcadkit/core/KmfData.h"
#include "tests/PipeWatch.h"
#include "tests/core/MessageRecorder.h"

namespace fs = std::filesystem;
using TBytes = std::vector<unsigned char>;

namespace {

class KmfFiles : public ::testing::Test
{
protected:
  void SetUp() override
  {
    Dir = fs::temp_directory_path() / ("hxcad_kmf_" + std::to_string(getpid()) + "_" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }

  // The path as a TString (UTF-8 file names come in through the UTF-8 constructor).
  TString Path(const std::string& name) const { return TString((Dir / name).string().c_str()); }

  TBytes ReadAll(const std::string& name) const
  {
    std::ifstream f(Dir / name, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(f), {});
  }
  void WriteAll(const std::string& name, const TBytes& b) const
  {
    std::ofstream f(Dir / name, std::ios::binary);
    f.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
  }

  fs::path Dir;
};

TBytes Header(int version = 0x61)
{
  TBytes h(256, 0);
  const unsigned char magic[] = {0xDD, 0xDE, 0x7E, 0x01};
  std::memcpy(h.data(), magic, 4);
  std::memcpy(h.data() + 4, &version, 4);
  return h;
}

TBytes Cat(TBytes a, const TBytes& b)
{
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The data bytes of a memory stream (without its header).
TBytes Data(const TKmfData& S)
{
  TBytes v;
  S.to(v);
  return TBytes(v.begin() + 256, v.end());
}

TBytes DoubleBytes(double d)
{
  TBytes b(8);
  std::memcpy(b.data(), &d, 8);
  return b;
}

// ---------------------------------------------------------------------------------------------
// Byte forms

TEST_F(KmfFiles, FileWithHeaderIsMagicVersionZerosThenValues)
{
  {
    TKmfData S;
    ASSERT_TRUE(S.MakeForWrite(Path("a.kmf"), false));
    S.Write(5);
    S.Write(1.5);
    EXPECT_TRUE(S.Close());
  }
  TBytes want = Cat(Cat(Header(), {5, 0, 0, 0}), DoubleBytes(1.5));
  TBytes got = ReadAll("a.kmf");
  ASSERT_EQ(got.size(), 268u);
  EXPECT_EQ(got, want);
}

TEST_F(KmfFiles, RawFileHasNoHeader)
{
  TKmfData S;
  ASSERT_TRUE(S.MakeForWrite(Path("raw.bin"), true));
  S.Write(5);
  S.Write(1.5);
  S.Close();
  EXPECT_EQ(ReadAll("raw.bin"), Cat({5, 0, 0, 0}, DoubleBytes(1.5)));
}

struct TFormCase
{
  const char* Name;
  void (*Write)(TKmfData&);
  TBytes Want;
};

TEST(KmfForms, ValuesOnTheStream)
{
  const TFormCase cases[] = {
      {"string ab", [](TKmfData& S) { S.Write(TString("ab")); }, {2, 0, 0, 0, 'a', 'b', 0}},
      {"empty string", [](TKmfData& S) { S << TString(); }, {0, 0, 0, 0, 0}},
      {"cyrillic string", [](TKmfData& S) { S << TString("Вал"); }, {3, 0, 0, 0, 0xC2, 0xE0, 0xEB, 0}},
      {"byte vector",
       [](TKmfData& S) {
         S.Write(TBytes{1, 2});
       },
       {2, 0, 0, 0, 1, 2}},
      {"unsigned", [](TKmfData& S) { S << 0xA1B2C3D4u; }, {0xD4, 0xC3, 0xB2, 0xA1}},
      {"negative int", [](TKmfData& S) { S << -2; }, {0xFE, 0xFF, 0xFF, 0xFF}},
      {"char16", [](TKmfData& S) { S.Write(u'\u0416'); }, {0x16, 0x04}},
      {"bool and byte", [](TKmfData& S) { S << true << (unsigned char)7; }, {1, 7}},
      {"wide text",
       [](TKmfData& S) {
         wchar_t w[] = L"Ж!";
         S << static_cast<wchar_t*>(w);
       },
       {0x16, 0x04, 0, 0, '!', 0, 0, 0}},
      {"text line", [](TKmfData& S) { S.WriteTextLn(TString("ab"), 4); }, {'a', 'b', ' ', ' ', 13, 10}},
      {"memory block",
       [](TKmfData& S) {
         S << TMemory(TBytes{9, 8}.data(), 2);
       },
       {2, 0, 0, 0, 9, 8}},
      {"empty memory", [](TKmfData& S) { S << TMemory(); }, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    TKmfData S;
    c.Write(S);
    EXPECT_EQ(Data(S), c.Want) << c.Name;
  }
}

// ---------------------------------------------------------------------------------------------
// Memory streams

TEST(KmfMemory, EmptyStreamIsItsZeroedHeader)
{
  TKmfData S;
  TBytes v;
  S.to(v);
  EXPECT_EQ(v, Header());
  TKmfData R;
  ASSERT_TRUE(R.from(v));
  EXPECT_EQ(R.Version(), 0x61);
  EXPECT_EQ(R.SizeData(), 256);
  EXPECT_TRUE(R.EndOfFile());
}

TEST(KmfMemory, HeaderlessBytesAreDataOfVersionZero)
{
  TBytes in(300);
  for (std::size_t i = 0; i < in.size(); ++i)
    in[i] = static_cast<unsigned char>(i * 7 + 1);
  TKmfData S;
  ASSERT_TRUE(S.from(in));
  EXPECT_EQ(S.Version(), 0);
  EXPECT_EQ(Data(S), in);
  TBytes v;
  S.to(v);
  EXPECT_EQ(TBytes(v.begin(), v.begin() + 256), Header(0)); // no stray data in the header
  // Short inputs are data too.
  TKmfData T;
  ASSERT_TRUE(T.fromMemory(in.data(), 3));
  EXPECT_EQ(Data(T), TBytes(in.begin(), in.begin() + 3));
  // An old header (version below 4) is data, its version kept.
  TKmfData U;
  ASSERT_TRUE(U.from(Cat(Header(3), {1})));
  EXPECT_EQ(U.Version(), 3);
  EXPECT_EQ(U.SizeData(), 256 + 257);
}

TEST(KmfMemory, RoundTripThroughVectorAndRawMemory)
{
  TKmfData S;
  S << 7 << 2.25 << TString("Муфта") << TBytes{1, 2, 3};
  TBytes v;
  S.to(v);
  std::vector<unsigned char> raw(std::size_t(S.SizeData()));
  EXPECT_EQ(S.toMemory(raw.data(), int(raw.size())), S.SizeData());
  EXPECT_EQ(raw, v);
  for (int way = 0; way < 2; ++way) {
    TKmfData R;
    ASSERT_TRUE(way == 0 ? R.from(v) : R.fromMemory(raw.data(), int(raw.size())));
    int i = 0;
    double d = 0;
    TString s;
    TBytes b;
    R >> i >> d >> s >> b;
    EXPECT_EQ(i, 7);
    EXPECT_EQ(d, 2.25);
    EXPECT_EQ(s, TString("Муфта"));
    EXPECT_EQ(b, (TBytes{1, 2, 3}));
    EXPECT_TRUE(R.EndOfFile());
    EXPECT_FALSE(R.ErrorReadFromFileToBufer);
  }
  unsigned char small[260];
  EXPECT_EQ(S.toMemory(small, 260), 260);
  EXPECT_EQ(TBytes(small + 256, small + 260), (TBytes{7, 0, 0, 0}));
}

TEST(KmfMemory, EmptyOrOversizedInputLeavesTheStream)
{
  TKmfData S;
  S << 42;
  EXPECT_FALSE(S.from(TBytes()));
  EXPECT_FALSE(S.fromMemory(nullptr, 10));
  TBytes huge(std::size_t(KmfBuferSize) + 257, 0);
  EXPECT_FALSE(S.from(huge));
  huge.resize(std::size_t(KmfBuferSize) + 1); // headerless: one byte too many
  EXPECT_FALSE(S.from(huge));
  EXPECT_EQ(Data(S), (TBytes{42, 0, 0, 0}));
  // Exactly 16 MiB of data behind a header fits.
  TBytes full = Cat(Header(), TBytes(KmfBuferSize, 0x5A));
  ASSERT_TRUE(S.from(full));
  EXPECT_EQ(S.SizeData(), int(256 + KmfBuferSize));
}

TEST(KmfMemory, EndIsReportedAndReadingPastItKeepsTheData)
{
  TKmfData S;
  S << 1 << 2;
  int a = 0, b = 0, c = -1;
  S >> a;
  EXPECT_FALSE(S.EndOfFile());
  S >> b;
  EXPECT_TRUE(S.EndOfFile());
  EXPECT_FALSE(S.ErrorReadFromFileToBufer);
  S >> c;
  EXPECT_EQ(c, 0);
  EXPECT_TRUE(S.ErrorReadFromFileToBufer);
  EXPECT_EQ(Data(S), (TBytes{1, 0, 0, 0, 2, 0, 0, 0}));
  S.Seek(4);
  EXPECT_TRUE(S.IOResult());
  S >> c;
  EXPECT_EQ(c, 2);
  // A memory stream is also a queue: what is written after reading is read next.
  S << 3;
  S >> c;
  EXPECT_EQ(c, 3);
}

TEST(KmfMemory, PartialValueAtTheEndIsZeroFilled)
{
  TKmfData S;
  ASSERT_TRUE(S.fromMemory(TBytes{1, 2, 3}.data(), 3));
  unsigned char buf[8];
  std::memset(buf, 0xEE, sizeof buf);
  EXPECT_EQ(S.BlockRead(buf, 8), 3u);
  EXPECT_EQ(TBytes(buf, buf + 8), (TBytes{1, 2, 3, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(S.ErrorReadFromFileToBufer);
}

TEST(KmfMemory, WritesBeyond16MiBAreDroppedAndReported)
{
  TKmfData S;
  TBytes block(KmfBuferSize - 2, 1);
  S.BlockWrite(block.data(), unsigned(block.size()));
  EXPECT_FALSE(S.WriteError());
  S << 5; // does not fit whole
  EXPECT_TRUE(S.WriteError());
  EXPECT_EQ(S.SizeData(), int(256 + KmfBuferSize - 2));
  S.WriteByte(9);
  S.WriteByte(9);
  EXPECT_EQ(S.SizeData(), int(256 + KmfBuferSize));
  EXPECT_FALSE(S.Close());
}

TEST(KmfMemory, PositionsAndByteAccess)
{
  TKmfData S;
  S << 10 << 20;
  EXPECT_EQ(S.GetPos(), 0u);
  EXPECT_EQ(S.NextByte(), 10);
  EXPECT_EQ(S.ReadInteger(), 10);
  EXPECT_EQ(S.GetPos(), 4u);
  S.SetPos(0);
  EXPECT_EQ(S.ReadByte(), 10);
  S.PutLastByteInBufer();
  S.SkipInteger();
  S.SkipIntegerIf(false);
  EXPECT_EQ(S.ReadInteger(), 20);
  EXPECT_EQ(S.NextByte(), 0);
  EXPECT_EQ(S.Length(), 8);
  S.Seek(100);
  EXPECT_FALSE(S.IOResult());
  EXPECT_FALSE(S.Active());
}

TEST(KmfMemory, AttachLoadsABlock)
{
  TKmfData W;
  W << TString("блок");
  TBytes v;
  W.to(v);
  TMemory m(v.data(), int(v.size()));
  TKmfData R;
  R.Attach(m);
  TString s;
  R >> s;
  EXPECT_EQ(s, TString("блок"));
}

// ---------------------------------------------------------------------------------------------
// Stored counts are checked against the bytes that remain

TEST(KmfBounds, BadStringLengthsFailCleanly)
{
  const TBytes inputs[] = {
      {0xFF, 0xFF, 0xFF, 0xFF, 'a', 0}, // -1
      {0xFF, 0xFF, 0xFF, 0x7F, 'a', 0}, // 2^31 - 1
      {0x00, 0x00, 0x00, 0x80},         // most negative
      {10, 0, 0, 0, 'a', 'b', 0},       // longer than what follows
      {1, 0},                           // the length itself cut short
  };
  for (const auto& in : inputs) {
    TKmfData S;
    ASSERT_TRUE(S.fromMemory(in.data(), int(in.size())));
    TString s("old");
    S >> s;
    EXPECT_TRUE(s.Empty());
    EXPECT_EQ(s.PChar()[0], 0);
    EXPECT_TRUE(S.ErrorReadFromFileToBufer);
    EXPECT_TRUE(S.EndOfFile());
  }
}

TEST(KmfBounds, MissingTerminatorStillGivesATerminatedString)
{
  TKmfData S;
  ASSERT_TRUE(S.fromMemory(TBytes{2, 0, 0, 0, 'a', 'b'}.data(), 6));
  TString s;
  S >> s;
  EXPECT_EQ(s, TString("ab"));
  EXPECT_EQ(s.PChar()[2], 0);
  EXPECT_TRUE(S.ErrorReadFromFileToBufer);
}

TEST(KmfBounds, BadVectorAndMemorySizesFailCleanly)
{
  const TBytes inputs[] = {{0xFF, 0xFF, 0xFF, 0xFF, 1}, {0xFF, 0xFF, 0xFF, 0x7F, 1}, {5, 0, 0, 0, 1, 2}};
  for (const auto& in : inputs) {
    TKmfData S;
    ASSERT_TRUE(S.fromMemory(in.data(), int(in.size())));
    TBytes v{7};
    S >> v;
    EXPECT_TRUE(v.empty());
    EXPECT_TRUE(S.ErrorReadFromFileToBufer);

    TKmfData T;
    ASSERT_TRUE(T.fromMemory(in.data(), int(in.size())));
    TMemory m(TBytes{1}.data(), 1);
    EXPECT_FALSE(m.fromStream(T));
    EXPECT_EQ(m.Size, 0);
    EXPECT_EQ(m.Pointer, nullptr);
    EXPECT_TRUE(T.ErrorReadFromFileToBufer);
  }
}

TEST(KmfBounds, GoodCountsAfterAFailureDoNotClearTheFlag)
{
  TKmfData S;
  S << 1;
  int a, b;
  S >> a >> b;
  ASSERT_TRUE(S.ErrorReadFromFileToBufer);
  S << TString("x");
  TString s;
  S >> s;
  EXPECT_EQ(s, TString("x"));
  EXPECT_TRUE(S.ErrorReadFromFileToBufer);
}

// ---------------------------------------------------------------------------------------------
// Text scanning

TEST(KmfScan, EightBitScannersStopAtTheEnd)
{
  TKmfData S;
  S.WriteText(TString("key=value;rest"));
  TString s;
  EXPECT_TRUE(S.StrTo('=', s));
  EXPECT_EQ(s, TString("key"));
  EXPECT_TRUE(S.StrTo(';', s));
  EXPECT_EQ(s, TString("value"));
  EXPECT_FALSE(S.StrTo(';', s));
  EXPECT_EQ(s, TString("rest"));
  EXPECT_FALSE(S.StrTo(';', s));
  EXPECT_TRUE(s.Empty());
  EXPECT_FALSE(S.SkipTo('x'));
  EXPECT_FALSE(S.SkipToVKPS());
  EXPECT_EQ(S.NextChar(), 0);
  S.Skip(' ');
  S.SkipAndVKPS(' ');
  EXPECT_FALSE(S.ErrorReadFromFileToBufer);
}

TEST(KmfScan, LineBreaks)
{
  TKmfData S;
  S.WriteText(TString("one\r\ntwo\nthree\rfour\n\nfive"));
  TString s;
  EXPECT_TRUE(S.StrToOrVKPS(';', s));
  EXPECT_EQ(s, TString("one"));
  EXPECT_TRUE(S.StrToOrVKPS(';', s));
  EXPECT_EQ(s, TString("two")); // LF-only text keeps the next line whole
  EXPECT_TRUE(S.StrToOrVKPS(';', s));
  EXPECT_EQ(s, TString("three"));
  EXPECT_TRUE(S.SkipToVKPS());
  EXPECT_TRUE(S.StrToOrVKPS(';', s));
  EXPECT_TRUE(s.Empty());
  EXPECT_FALSE(S.StrToOrVKPS(';', s));
  EXPECT_EQ(s, TString("five"));
}

TEST(KmfScan, SkipsAndNextChar)
{
  TKmfData S;
  const char t[] = "   x\0y  \r\n  z";
  S.BlockWrite(t, sizeof t - 1);
  S.Skip(' ');
  EXPECT_EQ(S.NextChar(), 'x');
  EXPECT_EQ(S.NextChar(), 'x'); // left unread
  EXPECT_EQ(S.ReadByte(), 'x');
  EXPECT_EQ(S.NextChar(), 0); // a zero byte is consumed
  EXPECT_EQ(S.NextChar(), 'y');
  S.ReadByte();
  S.SkipAndVKPS(' ');
  EXPECT_EQ(S.ReadByte(), 'z');
  TKmfData T;
  T.BlockWrite("aa\0b", 4);
  T.Skip('a');
  EXPECT_EQ(T.ReadByte(), 'b');
}

void WriteUnits(TKmfData& S, const std::wstring& w)
{
  for (wchar_t c : w)
    S << c;
}

TEST(KmfScan, WideScannersConvertAndStop)
{
  TKmfData S;
  WriteUnits(S, L"\u0412\u0430\u043B=\u4E00\u20AC\r\nz");
  TString s;
  EXPECT_TRUE(S.StrTo(L'=', s));
  EXPECT_EQ(s, TString("Вал"));
  EXPECT_TRUE(S.StrToOrVKPS(L';', s));
  EXPECT_EQ(TBytes(s.PChar(), s.PChar() + s.Len), (TBytes{'?', 0x88}));
  EXPECT_FALSE(S.StrTo(L';', s));
  EXPECT_EQ(s, TString("z"));
  EXPECT_FALSE(S.SkipTo(L'q'));
  EXPECT_FALSE(S.FindStr(TString("z")));
}

TEST(KmfScan, FindStrFindsOverlappingStarts)
{
  struct
  {
    std::wstring Units;
    const char* Pattern;
    bool Found;
    wchar_t After; // the unit that follows the match
  } cases[] = {
      {L"aabc", "ab", true, L'c'},   {L"xabz", "ab", true, L'z'},
      {L"aaabx", "aab", true, L'x'}, {L"abababcd", "ababc", true, L'd'},
      {L"abx", "abc", false, 0},     {L"\u0416\u0416\u0430!", "Жа", true, L'!'},
  };
  for (const auto& c : cases) {
    TKmfData S;
    WriteUnits(S, c.Units);
    EXPECT_EQ(S.FindStr(TString(c.Pattern)), c.Found) << c.Pattern;
    if (c.Found) {
      wchar_t next = 0;
      S >> next;
      EXPECT_EQ(next, c.After) << c.Pattern;
    }
  }
  TKmfData T;
  T.BlockWrite("a\0\0\0a\0", 6); // the last unit is cut short
  EXPECT_TRUE(T.FindStr(TString("aa")));
}

// ---------------------------------------------------------------------------------------------
// Files

TEST_F(KmfFiles, ReadBackWithZerosPastTheEnd)
{
  {
    TKmfData S;
    ASSERT_TRUE(S.MakeForWrite(Path("r.kmf")));
    S << 5 << 1.5 << TString("Ёж");
    S.Close();
  }
  TKmfData S;
  ASSERT_TRUE(S.MakeForRead(Path("r.kmf")));
  EXPECT_EQ(S.Version(), 0x61);
  EXPECT_TRUE(S.Active());
  int i;
  double d;
  TString s;
  S >> i >> d >> s;
  EXPECT_EQ(i, 5);
  EXPECT_EQ(d, 1.5);
  EXPECT_EQ(s, TString("Ёж"));
  EXPECT_FALSE(S.ErrorReadFromFileToBufer);
  EXPECT_TRUE(S.EndOfFile());
  i = -1;
  S >> i;
  EXPECT_EQ(i, 0);
  EXPECT_TRUE(S.ErrorReadFromFileToBufer);
  EXPECT_TRUE(S.Close());
}

TEST_F(KmfFiles, ShortValueAtTheEndOfAFile)
{
  WriteAll("three", {1, 2, 3});
  TKmfData S;
  ASSERT_TRUE(S.MakeForRead(Path("three"), true));
  double d;
  S >> d;
  TBytes want{1, 2, 3, 0, 0, 0, 0, 0};
  EXPECT_EQ(DoubleBytes(d), want);
}

TEST_F(KmfFiles, HeaderChecksAndOpenFailures)
{
  TMessageRecorder rec;
  rec.Modeler.IsThere = true;
  WriteAll("nomagic", TBytes(100, 7));
  TKmfData S;
  EXPECT_FALSE(S.MakeForRead(Path("nomagic")));
  EXPECT_FALSE(S.Active());
  EXPECT_TRUE(rec.HostBoxes().empty());
  WriteAll("short", Cat(TBytes{0xDD, 0xDE, 0x7E, 0x01, 31, 0, 0, 0}, {}));
  EXPECT_TRUE(S.MakeForRead(Path("short")));
  EXPECT_EQ(S.Version(), 31);
  EXPECT_TRUE(S.EndOfFile());

  EXPECT_FALSE(S.MakeForRead(Path("missing")));
  ASSERT_EQ(rec.HostBoxes().size(), 1u);
  TString want("Ошибка открытия файла ");
  want += Path("missing");
  want += TString(" ") + TString(ENOENT) + TString(" ") + TString(std::strerror(ENOENT));
  EXPECT_EQ(rec.HostBoxes()[0], want);
  EXPECT_FALSE(S.MakeForWrite(Path("no/such/dir")));
  EXPECT_EQ(rec.HostBoxes().size(), 1u);
}

TEST_F(KmfFiles, LengthKeepsTheReadPosition)
{
  {
    TKmfData S;
    S.MakeForWrite(Path("l.kmf"));
    for (int i = 0; i < 10; ++i)
      S << i;
  } // the destructor closes and flushes
  TKmfData S;
  ASSERT_TRUE(S.MakeForRead(Path("l.kmf")));
  EXPECT_EQ(S.ReadInteger(), 0);
  EXPECT_EQ(S.GetPos(), 260u);
  EXPECT_EQ(S.Length(), 296);
  EXPECT_EQ(S.ReadInteger(), 1);
  EXPECT_EQ(S.Remaining(), 32);
  S.Seek(256 + 36);
  EXPECT_TRUE(S.IOResult());
  EXPECT_EQ(S.ReadInteger(), 9);
  S.SetPos(264);
  EXPECT_EQ(S.ReadInteger(), 2);
}

TEST_F(KmfFiles, LargeFileCrossesTheBufferWindow)
{
  const int n = int(KmfBuferSize / 4) + 1000; // more than one 16 MiB window of ints
  {
    TKmfData S;
    ASSERT_TRUE(S.MakeForWrite(Path("big.kmf")));
    for (int i = 0; i < n; ++i)
      S << i;
    ASSERT_TRUE(S.Close());
  }
  EXPECT_EQ(fs::file_size(Dir / "big.kmf"), std::uintmax_t(256 + 4 * std::uintmax_t(n)));
  TKmfData S;
  ASSERT_TRUE(S.MakeForRead(Path("big.kmf")));
  int bad = 0;
  for (int i = 0; i < n; ++i)
    bad += S.ReadInteger() != i;
  EXPECT_EQ(bad, 0);
  EXPECT_TRUE(S.EndOfFile());
}

TEST_F(KmfFiles, ScannersStopAtTheEndOfAFile)
{
  WriteAll("t.txt", {'a', 'b', 'c'});
  TKmfData S;
  ASSERT_TRUE(S.MakeForRead(Path("t.txt"), true));
  TString s;
  EXPECT_FALSE(S.StrToOrVKPS(';', s));
  EXPECT_EQ(s, TString("abc"));
  EXPECT_FALSE(S.FindStr(TString("q")));
  S.PutLastByteInBufer();
  EXPECT_EQ(S.ReadByte(), 'c');
}

TEST_F(KmfFiles, WriteFailuresAreReported)
{
  // A file that cannot grow past 4 bytes (a device is no file and is not opened at all).
  struct rlimit before
  {
  };
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  const auto handler = std::signal(SIGXFSZ, SIG_IGN);
  TKmfData S;
  ASSERT_TRUE(S.MakeForWrite(Path("full.bin"), true));
  struct rlimit small = before;
  small.rlim_cur = 4;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  S << 1 << 2.0;
  const bool closed = S.Close();
  ::setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, handler);
  EXPECT_FALSE(closed);
  EXPECT_TRUE(S.WriteError());
  // A fresh file clears the state.
  ASSERT_TRUE(S.MakeForWrite(Path("ok.bin"), true));
  S << 1;
  EXPECT_TRUE(S.Close());
}

// A named pipe opened as a file waited for ever for a writer (or a reader); a device was read or written
// without end. Each is refused with its reason, at once, and nothing at its name is touched.
TEST_F(KmfFiles, WhatIsNoRegularFileIsRefusedAtOnceWithItsReason)
{
  ASSERT_EQ(::mkfifo((Dir / "pipe").c_str(), 0600), 0);
  fs::create_directory(Dir / "folder");
  TMessageRecorder rec;
  rec.Modeler.IsThere = true;
  for (const TString& path : {Path("pipe"), Path("folder"), TString("/dev/zero")}) {
    SCOPED_TRACE(path.Utf8Text());
    hxcad::test::PipeWatch watch(path.Utf8Text());
    rec.Log.clear();
    TKmfData S;
    EXPECT_FALSE(S.MakeForRead(path, true));
    EXPECT_FALSE(S.MakeForWrite(path, true));
    TMemory m;
    EXPECT_FALSE(m.toFile(path));
    EXPECT_FALSE(m.fromFile(path));
    EXPECT_FALSE(watch.Waited());
    EXPECT_EQ(FileExists(path), 0);
    EXPECT_TRUE(PathExists(path));
    ASSERT_EQ(rec.HostBoxes().size(), 1u);
    EXPECT_EQ(rec.HostBoxes()[0].Utf8Text(), "Ошибка открытия файла " + path.Utf8Text() + ": это не файл");
  }
  EXPECT_TRUE(fs::is_fifo(Dir / "pipe"));
}

// A folder named with letters the code page lacks: the file goes there, not into the folder whose name
// has '?' in their place.
TEST_F(KmfFiles, FoldersNamedWithLettersTheCodePageLacks)
{
  const std::pair<std::string, std::string> names[]{
      {"Café", "Caf?"}, {"Größe", "Gr??e"}, {"Ωmega", "?mega"}, {"数据", "??"}, {"😀", "?"}};
  for (const auto& [name, lost] : names) {
    SCOPED_TRACE(name);
    fs::create_directory(Dir / name);
    fs::create_directory(Dir / lost);
    const TString file = TString::Exactly(Utf8ToWide((Dir / name / "Вал.kmf").string()));
    TKmfData S;
    ASSERT_TRUE(S.MakeForWrite(file));
    S << 7;
    EXPECT_TRUE(S.Close());
    EXPECT_TRUE(fs::is_regular_file(Dir / name / "Вал.kmf"));
    EXPECT_TRUE(fs::is_empty(Dir / lost));
    ASSERT_TRUE(S.MakeForRead(file));
    int v = 0;
    S >> v;
    EXPECT_EQ(v, 7);
    fs::remove_all(Dir / lost);
  }
}

TEST_F(KmfFiles, ReadStreamsNeverWrite)
{
  WriteAll("p.kmf", Cat(Header(), {1, 2, 3, 4}));
  TKmfData S;
  ASSERT_TRUE(S.MakeForRead(Path("p.kmf")));
  EXPECT_EQ(S.NextByte(), 1); // peeked, nothing consumed
  S << 99;                    // refused, not queued for the file
  EXPECT_TRUE(S.WriteError());
  S.Close();
  EXPECT_EQ(ReadAll("p.kmf"), Cat(Header(), {1, 2, 3, 4}));
}

TEST_F(KmfFiles, CyrillicFileNames)
{
  TString path = Path("Вал №1.kmf");
  EXPECT_EQ(FileExists(path), 0);
  {
    TKmfData S;
    ASSERT_TRUE(S.MakeForWrite(path));
    S << 1;
  }
  EXPECT_TRUE(fs::exists(Dir / fs::path(u8"Вал №1.kmf")));
  EXPECT_EQ(FileExists(path), 1);
  TKmfData S;
  EXPECT_TRUE(S.MakeForRead(path));
  S.Close();
  EXPECT_TRUE(DeleteFile(path));
  EXPECT_EQ(FileExists(path), 0);
  EXPECT_FALSE(DeleteFile(path));
  EXPECT_EQ(FileExists(TString(Dir.string().c_str())), 0); // a directory
  EXPECT_EQ(FileExists(TString()), 0);
}

// ---------------------------------------------------------------------------------------------
// TMemory

TEST_F(KmfFiles, MemoryTextListing)
{
  TMemory three(TBytes{1, 2, 3}.data(), 3);
  ASSERT_TRUE(three.toTextFile(Path("m3.txt")));
  std::string want3 = "// Bytes 3\r\n = {\r\n  001,  002,  003,   }; \r\n";
  TBytes got3 = ReadAll("m3.txt");
  EXPECT_EQ(std::string(got3.begin(), got3.end()), want3);

  TBytes sixteen(16);
  for (int i = 0; i < 16; ++i)
    sixteen[std::size_t(i)] = static_cast<unsigned char>(i * 17);
  TMemory m16(sixteen.data(), 16);
  ASSERT_TRUE(m16.toTextFile(Path("m16.txt")));
  std::string want16 = "// Bytes 16\r\n = {\r\n";
  for (int i = 0; i < 16; ++i)
    want16 += "  " + std::string(i * 17 < 10 ? "00" : i * 17 < 100 ? "0" : "") + std::to_string(i * 17) + ",";
  want16 += "\r\n   }; \r\n";
  TBytes got16 = ReadAll("m16.txt");
  EXPECT_EQ(std::string(got16.begin(), got16.end()), want16);

  EXPECT_FALSE(TMemory().toTextFile(Path("empty.txt")));
  EXPECT_FALSE(fs::exists(Dir / "empty.txt"));
}

TEST_F(KmfFiles, MemoryFiles)
{
  TMemory m(TBytes{5, 6, 7}.data(), 3);
  WriteAll("m.bin", TBytes(10, 1));
  ASSERT_TRUE(m.toFile(Path("m.bin")));
  EXPECT_EQ(ReadAll("m.bin"), (TBytes{5, 6, 7}));
  TMemory back;
  ASSERT_TRUE(back.fromFile(Path("m.bin")));
  EXPECT_TRUE(back == m);
  EXPECT_FALSE(back.fromFile(Path("none.bin")));
  EXPECT_TRUE(back == m); // untouched
  EXPECT_FALSE(m.toFile(Path("no/dir/x.bin")));
}

} // namespace
