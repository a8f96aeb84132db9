#include <gtest/gtest.h>

#include <string>

#include "TwoTextRows.h"
#include "risk/ExtensionSites.h"

namespace qlt {
namespace {

using test::TwoTexts;

TEST(ExtensionSites, MatchExtension) {
    const TwoTexts rows[] = {
        {"double extension", "photo.jpg.exe", ".exe", true},
        {"first dot too far from the start", "holiday-photos.exe", ".exe", false},
        {"name part of 4", "abcd.exe", ".exe", true},
        {"name part of 6", "abcdef.exe", ".exe", true},
        {"name part of 7", "abcdefg.exe", ".exe", false},
        {"name part of 3", "abc.exe", ".exe", false},
        {"haystack under 8", "abc.scr", ".scr", false},
        {"needle under 3", "photo.jpg.ex", ".e", false},
        {"needle as long as haystack", "abcd.exe", "abcd.exe", false},
        {"case ignored", "Photo.JPG.EXE", ".exe", true},
        {"inner extension of 5", "file.abcde.exe", ".exe", true},
        {"inner extension of 6", "file.abcdef.exe", ".exe", false},
        {"gap counted from previous dot", "file.abcd.exe", ".exe", true},
        {"leading dot is not a start", ".abc.exe", ".exe", true},
        {"needle cut by the end", "photo.jpg.ex", ".exe", false},
        {"dot past the last position", "name=photo.x", ".xyz", false},
        {"longer needle", "mail.rep.docm", ".docm", true},
        {"prefix of a longer extension", "some.file.executive", ".exe", false},
        {"letters after it", "photo.json", ".js", false},
        {"digit after it", "photo.exe2", ".exe", false},
        {"a later whole one still counts", "abcd.exe1.exe", ".exe", true},
        {"quote after it", "photo.js\";", ".js", true},
        {"inner part of a file name", "backup.2026.regions.csv", ".reg", false},
        {"folder in a link", "wiki.lan/.screenshots/", ".scr", false},
        {"inner extension followed by a dot", "report.pdf.exe.txt", ".exe", true},
    };
    test::expectAnswers(rows, matchExtension);
}

TEST(ExtensionSites, ContainsExtensionAnywhereButOnlyWhole) {
    const TwoTexts rows[] = {
        {"far from any dot", "name=\"holiday-photos.exe\"", ".exe", true},
        {"case ignored", "name=SETUP.EXE", ".exe", true},
        {"letters after it", "coverage.json", ".js", false},
        {"only a prefix at the end", "setup.ex", ".exe", false},
        {"empty extension", "setup.exe", "", false},
    };
    test::expectAnswers(rows, containsExtension);
}

}  // namespace
}  // namespace qlt
