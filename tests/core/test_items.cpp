// Slot tables: ID reuse, scans by tag, the plain-text errors, COM releases.
#include "engine/core/titemsmanager.h"
#include "tests/support/engine_checks.h"
#include "tests/support/test_support.h"

namespace {

struct Counted {
    static inline int alive = 0;
    Counted() { ++alive; }
    ~Counted() { --alive; }
};

struct RefObject {
    int refs = 1;
    int Release() { return --refs; }
};

TEST(ItemsManager, FreedSlotIsReusedLowestFirstAndIdsNeverMove)
{
    TItemsManager<Counted> m;
    EXPECT_EQ(m.AddItem(new Counted, "A", 0), 0);
    EXPECT_EQ(m.AddItem(new Counted, "B", 0), 1);
    EXPECT_EQ(m.AddItem(new Counted, "C", 0), 2);
    m.FreeItem(1);
    EXPECT_EQ(Counted::alive, 2);
    EXPECT_EQ(m.FindByStrID("B"), -1);
    EXPECT_EQ(m.AddItem(new Counted, "D", 0), 1);
    EXPECT_EQ(m.GetSlotCount(), 3);
    EXPECT_EQ(m.FindByStrID("C"), 2);
    EXPECT_EQ(m.FindByStrID("D"), 1);
    m.FreeAll();
    EXPECT_EQ(Counted::alive, 0);
    EXPECT_EQ(m.GetSlotCount(), 3);
}

TEST(ItemsManager, FindIsExactAndFreeSlotsNeverMatch)
{
    TItemsManager<Counted> m;
    m.AddItem(new Counted, "TEX_A", 0);
    m.AddItem(new Counted, "TEX_A", 0);
    EXPECT_EQ(m.FindByStrID("TEX_A"), 0) << "lowest slot wins";
    EXPECT_EQ(m.FindByStrID("tex_a"), -1);
    m.FreeItem(0);
    EXPECT_EQ(m.FindByStrID(""), -1);
    EXPECT_EQ(m.FindByStrID("TEX_A"), 1);
    m.FreeAll();
}

TEST(ItemsManager, FreeAllWithFreedSlotsFreesNothingTwice)
{
    TItemsManager<Counted> m;
    for (int i = 0; i < 4; ++i) m.AddItem(new Counted, "X" + std::to_string(i), 0);
    m.FreeItem(0);
    m.FreeItem(2);
    EXPECT_NO_THROW(m.FreeAll());
    EXPECT_EQ(Counted::alive, 0);
    EXPECT_NO_THROW(m.FreeAll());
}

TEST(ItemsManager, TagScansVisitUsedSlotsInOrder)
{
    TItemsManager<Counted> m;
    EXPECT_EQ(m.GetFirstItem(0), nullptr) << "empty manager";
    std::vector<Counted*> items;
    int tags[] = {1, 2, 2, 1, 2};
    for (int i = 0; i < 5; ++i) {
        items.push_back(new Counted);
        m.AddItem(items.back(), "I" + std::to_string(i), tags[i]);
    }
    m.FreeItem(2);

    std::vector<Counted*> any;
    for (Counted* c = m.GetFirstItem(0); c; c = m.GetNextItem()) any.push_back(c);
    EXPECT_EQ(any, (std::vector<Counted*>{items[0], items[1], items[3], items[4]}));

    std::vector<Counted*> two;
    for (Counted* c = m.GetFirstItem(2); c; c = m.GetNextItem()) two.push_back(c);
    EXPECT_EQ(two, (std::vector<Counted*>{items[1], items[4]}));
    EXPECT_EQ(m.GetScanPos(), -1);
    EXPECT_EQ(m.GetNextItem(), nullptr) << "an exhausted scan stays exhausted";
    EXPECT_EQ(m.GetFirstItem(7), nullptr);
    m.FreeAll();
}

TEST(ItemsManager, BadIdsThrowThePlainTextOfTheTemplate)
{
    TItemsManager<Counted> m;
    m.AddItem(new Counted, "A", 0);
    for (int bad : {-1, 1}) EXPECT_EQ(tst::thrownText([&] { m.FreeItem(bad); }), "Error in TItemsManager<T>::FreeItem");
    TItemsManagerCOM<RefObject> com;
    EXPECT_EQ(tst::thrownText([&] { com.FreeItem(0); }), "Error in TItemsManagerCOM<T>::FreeItem");
    m.FreeAll();
}

TEST(ItemsManager, ComManagerReleasesAndRefusesLeftoverReferences)
{
    TItemsManagerCOM<RefObject> com;
    RefObject last, shared;
    shared.refs = 2; // someone else still holds it
    com.AddItem(&last, "TEX_LAST", 0);
    com.AddItem(&shared, "TEX_SHARED", 0);
    com.FreeItem(0);
    EXPECT_EQ(last.refs, 0);
    EXPECT_EQ(com.GetItem(0), nullptr);
    EXPECT_EQ(tst::thrownText([&] { com.FreeItem(1); }), "Unreleased object references left!");
    EXPECT_EQ(com.GetItem(1), &shared) << "the slot is not cleared";
}

} // namespace
