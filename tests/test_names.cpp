// Generated node names. The counter behind them is process-wide and starts at 0 once per
// process, so each sequence below runs in a process of its own: a case is registered only
// when the process's gtest filter names it exactly (see test_names.cmake), and the default run
// of this executable registers none of them.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FakeCom.h"
#include "VelmoraBase.h"

namespace {

class FakeSeed : public FakeComObject<ISeedObject> {
public:
    LONG m_nCount = 0;
    HRESULT STDMETHODCALLTYPE get_Count(LONG* pnCount) override {
        *pnCount = m_nCount;
        return S_OK;
    }
};

// An engine whose seed object is offered or not; counts how often it was asked.
class SeedEngine : public FakeEngine {
public:
    FakeSeed m_seed;
    bool m_bOfferSeed = true;
    int m_nSeedCalls = 0;

    HRESULT STDMETHODCALLTYPE get_Seed(IUnknown** ppSeed) override {
        ++m_nSeedCalls;
        *ppSeed = nullptr;
        if (!m_bOfferSeed)
            return E_NOTIMPL;
        *ppSeed = &m_seed;
        m_seed.AddRef();
        return S_OK;
    }
};

// One step of a sequence: a call with the first or second engine (or an empty one), the name
// expected ("" for a call that must fail and leave the name alone), and the seed count the
// first engine reports from then on.
struct NameStep {
    int nEngine; // 0 empty, 1 or 2
    const wchar_t* pszExpected;
    LONG nSeedAfter;
};

struct NameSequence {
    const char* name;
    bool bOfferSeed;
    LONG nSeed;
    std::vector<NameStep> steps;
    int nSeedCallsExpected;
};

const NameSequence kSequences[] = {
    {"SeedFive", true, 5, {{1, L"$5", 9}, {2, L"$6", 9}, {1, L"$7", 9}}, 1},
    {"SeedZero", true, 0, {{1, L"$1", 9}, {1, L"$2", 9}}, 1},
    {"NoSeedObject", false, 5, {{1, L"$1", 5}, {1, L"$2", 5}}, 1},
    // The counter runs up to 0 and the call after $0 asks for a seed again.
    {"NegativeSeed", true, -2, {{1, L"$-2", -2}, {1, L"$-1", -2}, {1, L"$0", 7}, {1, L"$7", 7}}, 2},
    // Calls with an empty engine change neither the name nor the counter.
    {"EmptyEngineChangesNothing",
     true,
     5,
     {{0, L"", 5}, {1, L"$5", 5}, {0, L"", 5}, {2, L"$6", 5}},
     1},
};

void RunSequence(const NameSequence& sequence) {
    SeedEngine engines[2];
    engines[0].m_bOfferSeed = sequence.bOfferSeed;
    engines[0].m_seed.m_nCount = sequence.nSeed;
    CVelmoraBase host(nullptr);
    CString strName = L"before";
    for (const NameStep& step : sequence.steps) {
        CComPtr<IEngine> spEngine(step.nEngine ? &engines[step.nEngine - 1] : nullptr);
        const CString strBefore = strName;
        const bool bExpected = *step.pszExpected != L'\0';
        EXPECT_EQ(host.GetObjectName(spEngine, strName), bExpected);
        EXPECT_STREQ(strName, bExpected ? step.pszExpected : strBefore.GetString());
        engines[0].m_seed.m_nCount = step.nSeedAfter;
    }
    EXPECT_EQ(engines[0].m_nSeedCalls + engines[1].m_nSeedCalls, sequence.nSeedCallsExpected);
    for (SeedEngine& engine : engines) {
        EXPECT_EQ(engine.m_nRefs, 1);
        EXPECT_EQ(engine.m_seed.m_nRefs, 1);
    }
}

class FreshProcessNames : public ::testing::Test {
public:
    explicit FreshProcessNames(const NameSequence* pSequence) : m_pSequence(pSequence) {}
    void TestBody() override {
        ASSERT_NE(m_pSequence, nullptr) << "the filter names no sequence of this file";
        RunSequence(*m_pSequence);
    }

private:
    const NameSequence* m_pSequence;
};

constexpr char kFilterFlag[] = "--gtest_filter=FreshProcessNames.";

const NameSequence* FindSequence(const std::string& name) {
    for (const NameSequence& sequence : kSequences)
        if (name == sequence.name)
            return &sequence;
    return nullptr;
}

// Registers the one sequence that this process's filter names, before gtest reads its flags.
[[maybe_unused]] const bool g_bRegistered = [] {
    for (int i = 1; i < __argc; ++i) {
        if (std::strncmp(__argv[i], kFilterFlag, sizeof kFilterFlag - 1) != 0)
            continue;
        const std::string wanted = __argv[i] + sizeof kFilterFlag - 1;
        const NameSequence* pSequence = FindSequence(wanted);
        ::testing::RegisterTest(
            "FreshProcessNames", wanted.c_str(), nullptr, nullptr, __FILE__, __LINE__,
            [pSequence]() -> ::testing::Test* { return new FreshProcessNames(pSequence); });
    }
    return true;
}();

// Whatever the counter stands at, consecutive names differ by 1 and the engine passed to the
// later calls does not matter.
TEST(Names, ConsecutiveNamesDifferByOne) {
    SeedEngine first, second;
    first.m_seed.m_nCount = 40;
    CVelmoraBase host(nullptr);
    CString strFirst, strSecond;
    ASSERT_TRUE(host.GetObjectName(&first, strFirst));
    ASSERT_TRUE(host.GetObjectName(&second, strSecond));
    EXPECT_EQ(_wtoi(strSecond.GetString() + 1), _wtoi(strFirst.GetString() + 1) + 1);
    EXPECT_EQ(strFirst[0], L'$');
}

} // namespace
