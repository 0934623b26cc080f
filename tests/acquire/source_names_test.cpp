// Finding a named source: white space and case do not count, the first of
// equal names wins, and only the first 1024 names are looked through.
#include "source_names.h"

#include <gtest/gtest.h>

namespace vmd::test {
namespace {

TEST(FindSourceByName, WhiteSpaceAndCaseAreIgnored) {
  const std::vector<std::string> names = {"Flatbed One", "HP ScanJet 5300C", "Digital Camera"};
  struct Case {
    const char* wanted;
    int index;
  } cases[] = {
      {"HP ScanJet 5300C", 1},   {"hpscanjet5300c", 1},      {"  HP\tScan Jet\n5300 C ", 1},
      {"DIGITAL CAMERA", 2},     {"flatbedone", 0},          {"HP ScanJet 5300", -1},
      {"HP ScanJet 5300CX", -1}, {"", -1},                   {" \t ", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(FindSourceByName(names, c.wanted), c.index) << '"' << c.wanted << '"';
}

TEST(FindSourceByName, FirstOfEqualNamesAndTheLimit) {
  std::vector<std::string> names = {"Scanner A", "SCANNER  A", "Other"};
  EXPECT_EQ(FindSourceByName(names, "scannera"), 0);
  names.assign(kMostSourceNames, "Filler");
  names.push_back("Late Source");
  EXPECT_EQ(FindSourceByName(names, "Late Source"), -1) << "the 1025th name is not looked at";
  names[kMostSourceNames - 1] = "Late Source";
  EXPECT_EQ(FindSourceByName(names, "LateSource"), static_cast<int>(kMostSourceNames - 1));
}

}  // namespace
}  // namespace vmd::test
