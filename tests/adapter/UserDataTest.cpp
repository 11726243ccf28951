// The library's data kept in a document's storage, by key, for the document or one of its objects.
#include <gtest/gtest.h>

#include "AdapterSupport.h"
#include "txapi/IUserDataStoragesMng.h"
#include "txhost/lib/Faults.h"

namespace {

using namespace adaptertest;
using drApi::MA;
using Bytes = std::vector<std::uint8_t>;
using Objects = std::vector<SmartPtr<txapi::ITavrixAPIObject>>;

class UserData : public ::testing::Test, public HostedModeller
{
protected:
  void SetUp() override
  {
    MA.drCreate3D(false, true, T(Dir / "shaft.tpt"), "Вал", "В-01");
    Doc = MA.R().IDoc;
    Plane = SmartPtr<txapi::ITavrixAPIObject>(MA.R().Part->GetDefaultEntity(txapi::o3d_planeXOY));
  }
  std::size_t Saves() const { return Find(Doc.get())->CallCount("Save"); }
  SmartPtr<txapi::ITavrixDocument> Doc, None;
  SmartPtr<txapi::ITavrixAPIObject> Plane, NoObject;
};

TEST_F(UserData, BytesAreAddedThenReplacedAndReadBack)
{
  Bytes out{9};
  EXPECT_FALSE(MA.drGetUserData(Doc, "ключ", out, NoObject)); // no storage yet: untouched
  EXPECT_EQ(out, Bytes{9});
  const Bytes blocks[] = {{1, 2, 3}, {0, 255}, {}};
  for (const Bytes& b : blocks) {
    EXPECT_TRUE(MA.drSetUserData(Doc, "ключ", b, false, NoObject));
    EXPECT_EQ(MA.drGetUserData(Doc, "ключ", out, NoObject), !b.empty());
    EXPECT_EQ(out, b);
  }
  out = {7};
  EXPECT_FALSE(MA.drGetUserData(Doc, "другой", out, NoObject));
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(Saves(), 0u);
  EXPECT_TRUE(MA.drSetUserData(Doc, "ключ", Bytes{4}, true, NoObject));
  EXPECT_EQ(Saves(), 1u);
  EXPECT_FALSE(MA.drSetUserData(None, "ключ", Bytes{4}, true, NoObject));
  // No manager: nothing stored and nothing saved.
  H.GetFaults().RefuseInterface(txhost::Target::Of(*Find(Doc.get())), txapi::IUserDataStoragesMng::IID);
  EXPECT_FALSE(MA.drSetUserData(Doc, "ключ", Bytes{5}, true, NoObject));
  EXPECT_EQ(Saves(), 1u);
  H.GetFaults().Clear();
}

TEST_F(UserData, ListsAreSetThenAddedAndObjectsKeepTheirOwn)
{
  const Objects list{Plane, SmartPtr<txapi::ITavrixAPIObject>(Doc)};
  for (int i = 0; i < 2; ++i)
    EXPECT_TRUE(MA.drSetUserData(Doc, "список", list, false, NoObject));
  const std::vector<txhost::Object*> storages = H.ObjectsOfKind("user-storage");
  ASSERT_EQ(storages.size(), 1u);
  std::vector<std::string> ops;
  for (const txhost::Call& c : storages[0]->Log())
    ops.push_back(c.Op);
  EXPECT_EQ(ops, (std::vector<std::string>{"SetObjects", "AddObjects", "SetObjects"}));
  Objects read;
  EXPECT_TRUE(MA.drGetUserData(Doc, "список", read, NoObject));
  EXPECT_TRUE(read == list);

  // Written for the plane, read with an object given; the document's own value stays its own.
  EXPECT_TRUE(MA.drSetUserData(Doc, "ключ", Bytes{1}, false, Plane));
  EXPECT_TRUE(MA.drSetUserData(Doc, "ключ", Bytes{2}, false, NoObject));
  Bytes a, b;
  EXPECT_TRUE(MA.drGetUserData(Doc, "ключ", a, Plane));
  EXPECT_TRUE(MA.drGetUserData(Doc, "ключ", b, NoObject));
  EXPECT_EQ(a, Bytes{1});
  EXPECT_EQ(b, Bytes{2});
}

} // namespace
