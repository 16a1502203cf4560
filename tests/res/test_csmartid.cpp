// Identifiers: type detection, duplicates, binding and unbinding by the managers.
#include "engine/res/ctarnis_utils_csmartid.h"
#include "engine/core/ctarnis_ehs.h"
#include "tests/support/engine_checks.h"
#include "tests/support/test_support.h"

namespace {

CEHSException constructionError(const char* id, int32_t type = 0)
{
    return tst::raised([&] { CSmartID s(id, type); });
}

TEST(SmartID, DetectsTypeFromTheFirstThreeCharacters)
{
    CSmartID bg("TEX_BG"), teq("TEQ_STD2"), fnt("FNT_FONT1"), snd("SND_PIECEMOVE"), texx("TEXX");
    EXPECT_EQ(bg.GetResType(), 1);
    EXPECT_EQ(teq.GetResType(), 2);
    EXPECT_EQ(fnt.GetResType(), 3);
    EXPECT_EQ(snd.GetResType(), 4);
    EXPECT_EQ(texx.GetResType(), 1);
    EXPECT_EQ(bg.GetID(), -1);
    EXPECT_EQ(bg.GetStrID(), "TEX_BG");
}

TEST(SmartID, DetectionErrorsAndExplicitTypes)
{
    CEHSException shortId = constructionError("TEX");
    EXPECT_EQ(shortId.m_iType, 1);
    EXPECT_EQ(shortId.m_strDescription, "Error in CSmartID::DetectResType : strID length is too small (<4)!");
    EXPECT_EQ(shortId.m_strFile, "engine/res/ctarnis_utils_csmartid.cpp");

    CEHSException lower = constructionError("tex_a");
    EXPECT_EQ(lower.m_iType, 2);
    EXPECT_EQ(lower.m_strDescription, "Error in CSmartID::DetectResType : cannot detect res type! strID = tex_a");
    EXPECT_EQ(constructionError("MUS_GAME").m_strDescription,
              "Error in CSmartID::DetectResType : cannot detect res type! strID = MUS_GAME");

    // An explicit type skips detection: any length, any prefix.
    CSmartID music("MU", 4);
    EXPECT_EQ(music.GetResType(), 4);
}

TEST(SmartID, DuplicatesFailAndLeaveTheMapAlone)
{
    CSmartID first("TEX_DUP");
    CEHSException dup = constructionError("TEX_DUP");
    EXPECT_EQ(dup.m_iType, 2);
    EXPECT_EQ(dup.m_strDescription,
              "Error in CSmartID::CSmartID(const char* fp_pszID, int fp_iResType). An object with same strID already "
              "exists! strID = TEX_DUP");
    CSmartID::SetIntID("TEX_DUP", 5);
    EXPECT_EQ(first.GetID(), 5) << "the first identifier is still the one in the map";
    CSmartID otherCase("tex_dup", 1);
    CSmartID::SetIntID("tex_dup", 6);
    EXPECT_EQ(otherCase.GetID(), 6);
    EXPECT_EQ(first.GetID(), 5);
}

TEST(SmartID, ManagersBindAndUnbindByTypeAndIndex)
{
    CSmartID tex("TEX_CELL1"), snd("SND_CLICK"), never("TEX_NEVER");
    CSmartID::SetIntID("TEX_CELL1", 3);
    CSmartID::SetIntID("SND_CLICK", 3);
    CSmartID::SetIntID("TEX_UNNAMED", 8); // no identifier: nothing happens
    EXPECT_EQ(tex.GetID(), 3);
    EXPECT_EQ(snd.GetID(), 3);
    CSmartID::ResetIntID(3, 4);
    EXPECT_EQ(snd.GetID(), -1);
    EXPECT_EQ(tex.GetID(), 3);
    CSmartID::ResetIntID(3, 1);
    EXPECT_EQ(tex.GetID(), -1);
    EXPECT_EQ(never.GetID(), -1);
}

TEST(SmartID, ResetUnbindsOnlyTheFirstMatchInStrIdOrder)
{
    CSmartID b("TEX_B"), a("TEX_A");
    CSmartID::SetIntID("TEX_A", 1);
    CSmartID::SetIntID("TEX_B", 1);
    CSmartID::ResetIntID(1, 1);
    EXPECT_EQ(a.GetID(), -1);
    EXPECT_EQ(b.GetID(), 1);
}

TEST(SmartID, IdentifiersThatLiveOnKeepFollowingTheirItems)
{
    auto* shortLived = new CSmartID("TEX_SHORT");
    CSmartID longLived("TEX_LONG");
    delete shortLived;
    ASSERT_TRUE(CSmartID::IDsMapExists());
    CSmartID::SetIntID("TEX_LONG", 9);
    EXPECT_EQ(longLived.GetID(), 9);
    // The name is free again.
    CSmartID again("TEX_SHORT");
    EXPECT_EQ(again.GetResType(), 1);
}

} // namespace
