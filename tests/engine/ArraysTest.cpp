#include "resources/DArrays.h"
#include "resources/ResourceList.h"

#include <gmock/gmock.h>

#include <cstring>

namespace ra7 {
namespace {

struct Record {
    std::int32_t a;
    float b;
};

class RecordArray : public TDArray {
public:
    RecordArray() : TDArray(sizeof(Record)) {}
    Record get(std::int32_t i) const
    {
        Record r;
        std::memcpy(&r, ItemAddress(i), sizeof r);
        return r;
    }
};

TEST(TDArray, SetItemGrowsExactlyToTheIndex)
{
    RecordArray array;
    const Record r{7, 2.5f};
    array.SetItem(5, &r);
    EXPECT_EQ(array.Count(), 6);
    EXPECT_EQ(array.get(5).a, 7);
    array.SetItem(6, &r);
    EXPECT_EQ(array.Count(), 7);
    array.SetItem(2, &r);
    EXPECT_EQ(array.Count(), 7);
}

TEST(TDArray, SetCountZeroReleasesAndGrowsAgain)
{
    RecordArray array;
    const Record r{1, 1};
    array.SetItem(3, &r);
    array.SetCount(0);
    EXPECT_EQ(array.Count(), 0);
    EXPECT_THROW(array.ItemAddress(0), Error);
    array.SetItem(0, &r);
    EXPECT_EQ(array.Count(), 1);
    EXPECT_EQ(array.get(0).a, 1);
}

TEST(TDArray, ReadsOutsideTheArrayAreRefused)
{
    RecordArray array;
    array.SetCount(2);
    EXPECT_THROW(array.ItemAddress(2), Error);
    EXPECT_THROW(array.ItemAddress(-1), Error);
    EXPECT_THROW(array.SetCount(-1), Error);
}

struct Resource {
    std::string Name;
    int* released = nullptr;
    ~Resource()
    {
        if (released)
            ++*released;
    }
};
struct ResourceName {
    const std::string& operator()(const Resource& r) const { return r.Name; }
};
using List = KaResourceList<Resource, ResourceName>;

std::vector<std::string> names(const List& list)
{
    std::vector<std::string> out;
    for (std::int32_t i = 0; i < list.Count(); ++i)
        out.push_back(list.Get(i).Name);
    return out;
}

TEST(ResourceList, DeletionMovesTheLastItemIntoTheGap)
{
    List list;
    for (const char* n : {"a", "b", "c"})
        list.Add(std::make_unique<Resource>(Resource{n}));
    list.Delete(0);
    EXPECT_THAT(names(list), ::testing::ElementsAre("c", "b"));
    list.Delete(1);
    EXPECT_THAT(names(list), ::testing::ElementsAre("c"));
    list.Delete(0);
    EXPECT_EQ(list.Count(), 0);
}

TEST(ResourceList, EveryItemIsReleasedExactlyOnce)
{
    int released[3] = {0, 0, 0};
    {
        List list;
        for (int i = 0; i < 3; ++i)
            list.Add(std::make_unique<Resource>(std::string(1, char('a' + i)), &released[i]));
        list.Delete(0);
        EXPECT_EQ(released[0], 1);
        EXPECT_EQ(released[2], 0); // the moved item keeps its resources
        EXPECT_EQ(list.Find("c")->released, &released[2]);
    }
    EXPECT_EQ(released[0], 1);
    EXPECT_EQ(released[1], 1);
    EXPECT_EQ(released[2], 1);
}

TEST(ResourceList, DuplicateNamesAreRefusedWithoutTouchingChanged)
{
    List list;
    ASSERT_NE(list.Add(std::make_unique<Resource>(Resource{"box"})), nullptr);
    EXPECT_TRUE(list.TakeChanged());
    EXPECT_EQ(list.Add(std::make_unique<Resource>(Resource{"box"})), nullptr);
    EXPECT_FALSE(list.TakeChanged());
    EXPECT_EQ(list.Count(), 1);
}

TEST(ResourceList, LookupIsExactAndCaseSensitive)
{
    List list;
    list.Add(std::make_unique<Resource>(Resource{"Box"}));
    EXPECT_EQ(list.IndexOf("Box"), 0);
    EXPECT_EQ(list.IndexOf("box"), -1);
    EXPECT_EQ(list.Find("BOX"), nullptr);
}

TEST(ResourceList, OutOfBoundsReadsAndDeletesRaiseTheFixedMessage)
{
    List list;
    list.Add(std::make_unique<Resource>(Resource{"x"}));
    for (std::int32_t bad : {1, -1, 1000}) {
        try {
            list.Get(bad);
            FAIL() << bad;
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "Array index out of bounds.");
        }
        EXPECT_THROW(list.Delete(bad), Error);
    }
    EXPECT_EQ(list.Count(), 1);
}

TEST(ResourceList, ClearEmptiesAndMarksChanged)
{
    List list;
    list.Add(std::make_unique<Resource>(Resource{"x"}));
    list.TakeChanged();
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.TakeChanged());
}

} // namespace
} // namespace ra7
