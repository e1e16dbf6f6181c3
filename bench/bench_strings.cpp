// The string utilities against the raw Boost String Algorithms on std::wstring, with the same
// inputs in the same run, for texts of 64 and 4096 code units. The wrappers take CStrings, see
// them up to the first NUL and return CStrings; the baselines work on std::wstring directly.
#include <algorithm>
#include <cstdio>
#include <locale>
#include <string>
#include <utility>
#include <vector>

#include <boost/algorithm/string.hpp>

#include "BenchHarness.h"
#include "VelmoraBase.h"

namespace {

constexpr double kTarget = 1.3;

// A pattern repeated up to nLength code units.
std::wstring MakeText(const wchar_t* pattern, size_t nLength) {
    std::wstring text;
    while (text.size() < nLength)
        text += pattern;
    text.resize(nLength);
    return text;
}

// Words of mixed length, most of them short enough for std::wstring to keep without allocating.
const wchar_t kWords[] = L"Velmora viewer, scene; node field value. Transform shape appearance "
                         L"material, texture coordinate index; ";
// Longer pieces, such as paths, that std::wstring has to allocate as CString always does.
const wchar_t kPaths[] = L"models\\scene\\hull.wrl models\\scene\\bridge_deck.wrl ";

// One input in both forms, built before timing.
struct Input {
    explicit Input(std::wstring text) : w(std::move(text)), c(w.c_str()) {}
    std::wstring w;
    CString c;
};

std::vector<std::wstring> Words(const std::wstring& text) {
    std::vector<std::wstring> words;
    boost::algorithm::split(words, text, boost::algorithm::is_any_of(L" "));
    return words;
}

class Runner {
public:
    explicit Runner(size_t nLength) : m_nIterations(nLength > 1000 ? 1000 : 20000) {}

    // The machine is shared: baseline and library take turns over several rounds, and each keeps
    // its best median, so that a busy moment does not land on one side only.
    template <class Baseline, class Library>
    void Compare(const char* name, Baseline baseline, Library library) {
        double base = 1e9, lib = 1e9;
        for (int round = 0; round < 7; ++round) {
            base = std::min(base, bench::MedianSeconds([&] { bench::KeepAlive(baseline()); },
                                                       m_nIterations, 5));
            lib = std::min(
                lib, bench::MedianSeconds([&] { bench::KeepAlive(library()); }, m_nIterations, 5));
        }
        bench::ReportRatio(name, base, lib, kTarget);
    }

private:
    int m_nIterations;
};

void RunFamilies(size_t nLength) {
    namespace ba = boost::algorithm;
    const Input text(MakeText(kWords, nLength)), paths(MakeText(kPaths, nLength));
    // The same text with a searched word in its middle.
    std::wstring withWord = text.w;
    withWord.replace(nLength / 2, 5, L"QUUXZ");
    const Input middled(withWord), search(L"QUUXZ"), lettersOnly(std::wstring(nLength, L'v'));
    const std::vector<std::wstring> words = Words(text.w), pathList = Words(paths.w);
    std::vector<CString> vecWords, vecPaths;
    for (const std::wstring& w : words)
        vecWords.emplace_back(w.c_str());
    for (const std::wstring& w : pathList)
        vecPaths.emplace_back(w.c_str());
    const Input separators(L" ,;."), uv(L"uv"), velmora(L"Velmora"), quux(L"quux"), end(L"end"),
        comma(L", "), space(L" ");

    CVelmoraBase host(nullptr);
    Runner run(nLength);
    char title[80];
    std::snprintf(title, sizeof title, "String utilities, text of %u code units",
                  static_cast<unsigned>(nLength));
    bench::PrintHeader(title);

    run.Compare(
        "To_Upper_lower vs to_upper_copy", [&] { return ba::to_upper_copy(text.w, std::locale()); },
        [&] { return host.To_Upper_lower(text.c, true); });
    run.Compare(
        "Is_Alpha vs all(is_alpha)", [&] { return ba::all(lettersOnly.w, ba::is_alpha()); },
        [&] { return host.Is_Alpha(lettersOnly.c); });
    run.Compare(
        "Is_Any_Of vs all(is_any_of)", [&] { return ba::all(lettersOnly.w, ba::is_any_of(uv.w)); },
        [&] { return host.Is_Any_Of(lettersOnly.c, uv.c); });
    run.Compare(
        "Is_Equal(ignore case) vs equals(upper)",
        [&] { return ba::to_upper_copy(text.w) == ba::to_upper_copy(middled.w); },
        [&] { return host.Is_Equal(text.c, middled.c, true); });
    run.Compare(
        "Trim_Alpha vs trim_copy_if(is_alpha)",
        [&] { return ba::trim_copy_if(text.w, ba::is_alpha()); },
        [&] { return host.Trim_Alpha(text.c, 0); });
    run.Compare(
        "Trim_Any_Of vs trim_left_copy_if",
        [&] { return ba::trim_left_copy_if(text.w, ba::is_any_of(velmora.w)); },
        [&] { return host.Trim_Any_Of(text.c, velmora.c, -1); });
    run.Compare(
        "Find_First vs find_first",
        [&] { return ba::find_first(middled.w, search.w).begin() - middled.w.begin(); },
        [&] { return host.Find_First(middled.c, search.c); });
    run.Compare(
        "Find_Nth(-1) vs find_nth",
        [&] { return ba::find_nth(middled.w, search.w, -1).begin() - middled.w.begin(); },
        [&] { return host.Find_Nth(middled.c, search.c, -1); });
    run.Compare(
        "Find_Head vs find_head",
        [&] { return boost::copy_range<std::wstring>(ba::find_head(text.w, -8)); },
        [&] { return host.Find_Head(text.c, -8); });
    run.Compare(
        "Replace_Nth vs replace_nth_copy",
        [&] { return ba::replace_nth_copy(middled.w, search.w, 0, quux.w); },
        [&] { return host.Replace_Nth(middled.c, search.c, quux.c, 0); });
    run.Compare(
        "Replace_Tail vs replace_tail_copy",
        [&] { return ba::replace_tail_copy(text.w, 8, end.w); },
        [&] { return host.Replace_Tail(text.c, end.c, 8); });
    run.Compare(
        "Erase_All vs erase_all_copy", [&] { return ba::erase_all_copy(text.w, comma.w); },
        [&] { return host.Erase_All(text.c, comma.c); });
    run.Compare(
        "Erase_Head vs erase_head_copy", [&] { return ba::erase_head_copy(text.w, 8); },
        [&] { return host.Erase_Head(text.c, 8); });
    const auto compareSplit = [&](const char* name, const Input& input, const Input& seps) {
        run.Compare(
            name,
            [&] {
                std::vector<std::wstring> parts;
                ba::split(parts, input.w, ba::is_any_of(seps.w), ba::token_compress_on);
                return parts.size();
            },
            [&] {
                std::vector<CString> parts;
                host.Split(input.c, seps.c, parts, true);
                return parts.size();
            });
    };
    compareSplit("Split vs split, words", text, separators);
    compareSplit("Split vs split, paths", paths, space);
    run.Compare(
        "Join vs join, words", [&] { return ba::join(words, space.w); },
        [&] { return host.Join(vecWords, space.c); });
    run.Compare(
        "Join vs join, paths", [&] { return ba::join(pathList, space.w); },
        [&] { return host.Join(vecPaths, space.c); });
    // Not a wrapper: the copy of the list that Join's by-value argument costs every caller,
    // part of the Join row above.
    run.Compare(
        "(Join's argument copy alone), words", [&] { return ba::join(words, space.w); },
        [&] {
            std::vector<CString> copy(vecWords);
            return copy.size();
        });
}

} // namespace

int main() {
    RunFamilies(64);
    RunFamilies(4096);
    return 0;
}
