#include <gtest/gtest.h>

#include "support/XMLSimple.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/TempDir.h"

namespace {

class XMLSimpleTest : public testing::Test {
 protected:
  std::string config(const std::string& body) { return dir.write("world.xml", body); }
  // Loads the text in a child so a fatal report can be seen.
  ChildResult loadInChild(const std::string& body) {
    std::string file = config(body);
    return runInChild([file] { XMLSimple xml(file); });
  }
  TempDir dir;
};

TEST_F(XMLSimpleTest, EmptyRootGivesZeroValuesAndQueriesInsertTheKey) {
  XMLSimple xml(config("<config/>"));
  EXPECT_EQ("", xml.getString("skybox_directory"));
  EXPECT_EQ(0.0, xml.getDouble("size_one_cube"));
  EXPECT_EQ(0, xml.getInt("size_one_region"));
  EXPECT_FALSE(xml.getBool("enable_water"));
  EXPECT_EQ(1u, xml.strings.count("skybox_directory"));
  EXPECT_EQ(1u, xml.doubles.count("size_one_cube"));
  EXPECT_EQ(1u, xml.ints.count("size_one_region"));
  EXPECT_EQ(1u, xml.bools.count("enable_water"));
}

TEST_F(XMLSimpleTest, TypedGroupsAndTheirConversions) {
  XMLSimple xml(config(
      "<?xml version=\"1.0\"?>\n"
      "<anything>\n"
      "  <double>\n"
      "    <size_one_cube>1.0</size_one_cube>\n"
      "    <comma>1,5</comma>\n"
      "    <spaced>  2.5e1xyz</spaced>\n"
      "    <word>abc</word>\n"
      "    <size_one_region>8</size_one_region>\n"
      "  </double>\n"
      "  <int><size_one_region>16</size_one_region><neg> -7 apples</neg><twice>1</twice><twice>2</twice></int>\n"
      "  <string><skybox_directory>sky/</skybox_directory><multi>\n    line\n  </multi>"
      "<nested>a<b>c</b>d</nested></string>\n"
      "  <Double><capital>3.0</capital></Double>\n"
      "  <other><size_one_cube>9</size_one_cube></other>\n"
      "</anything>\n"));
  EXPECT_DOUBLE_EQ(1.0, xml.getDouble("size_one_cube"));
  EXPECT_DOUBLE_EQ(1.0, xml.getDouble("comma"));  // the comma ends the number
  EXPECT_DOUBLE_EQ(25.0, xml.getDouble("spaced"));
  EXPECT_DOUBLE_EQ(0.0, xml.getDouble("word"));
  EXPECT_EQ(16, xml.getInt("size_one_region"));  // each table is on its own
  EXPECT_DOUBLE_EQ(8.0, xml.getDouble("size_one_region"));
  EXPECT_EQ(-7, xml.getInt("neg"));
  EXPECT_EQ(2, xml.getInt("twice"));  // the later value wins
  EXPECT_EQ("sky/", xml.getString("skybox_directory"));
  EXPECT_EQ("\n    line\n  ", xml.getString("multi"));
  EXPECT_EQ("acd", xml.getString("nested"));
  EXPECT_DOUBLE_EQ(0.0, xml.getDouble("capital"));  // "Double" is not a group
  EXPECT_EQ(0, xml.getInt("size_one_cube"));
}

TEST_F(XMLSimpleTest, BoolValues) {
  XMLSimple xml(config(
      "<c><bool>\n"
      "  <a>true</a> <b>false</b> <c>1</c> <d>0</d> <e>TRUE</e> <f> true</f> <g></g>\n"
      "  <!-- 2 means off -->\n"
      "</bool></c>"));
  EXPECT_TRUE(xml.getBool("a"));
  EXPECT_FALSE(xml.getBool("b"));
  EXPECT_TRUE(xml.getBool("c"));
  EXPECT_FALSE(xml.getBool("d"));
  EXPECT_FALSE(xml.getBool("e"));  // read as a number: 0
  EXPECT_FALSE(xml.getBool("f"));
  EXPECT_FALSE(xml.getBool("g"));
  // Comments and indentation are not entries.
  EXPECT_EQ(0u, xml.bools.count("comment"));
  EXPECT_EQ(0u, xml.bools.count("text"));
}

TEST_F(XMLSimpleTest, FatalReports) {
  struct Case {
    const char* body;  // null: no file at all
    const char* condition;
    const char* message;
  };
  const Case cases[] = {
      {nullptr, "Condition: false\n", "Message: XMLSimple::XMLSimple : file missing"},
      {"<c><double>1</c>", "Condition: doc != NULL\n", "Message: XMLSimple::XMLSimple : could not parse xml file"},
      {"", "Condition: doc != NULL\n", "Message: XMLSimple::XMLSimple : could not parse xml file"},
      {"<c><bool><x>2</x></bool></c>", "Condition: value == 0 || value == 1\n",
       "Message: Erroneous bool value in xml"},
      {"<c><bool><x>-1</x></bool></c>", "Condition: value == 0 || value == 1\n",
       "Message: Erroneous bool value in xml"},
  };
  for (const Case& c : cases) {
    std::string file = c.body ? config(c.body) : dir.file("missing.xml");
    ChildResult result = runInChild([file] { XMLSimple xml(file); });
    EXPECT_EQ(1, result.exitCode) << describe(result);
    EXPECT_NE(std::string::npos, result.err.find(c.condition)) << result.err;
    EXPECT_NE(std::string::npos, result.err.find(c.message)) << result.err;
    EXPECT_NE(std::string::npos, result.err.find(file)) << "the message names the file: " << result.err;
  }
}

TEST_F(XMLSimpleTest, EntitiesAreNeverExpandedNorFetched) {
  std::string secret = dir.write("secret.txt", "1");
  XMLSimple xml(config("<!DOCTYPE c [<!ENTITY ext SYSTEM \"" + secret + "\"><!ENTITY one \"1\">]>\n"
                       "<c><string><s>a&ext;b</s></string><int><i>&one;</i></int></c>"));
  EXPECT_EQ("ab", xml.getString("s"));
  EXPECT_EQ(0, xml.getInt("i"));
}

TEST_F(XMLSimpleTest, BillionLaughsEndsQuicklyInBoundedMemory) {
  std::string doc = "<!DOCTYPE c [<!ENTITY l0 \"lol\">";
  for (int i = 1; i < 10; ++i)
    doc += "<!ENTITY l" + std::to_string(i) + " \"" + std::string() +
           [i] {
             std::string refs;
             for (int k = 0; k < 10; ++k) refs += "&l" + std::to_string(i - 1) + ";";
             return refs;
           }() + "\">";
  doc += "]><c><string><s>&l9;</s></string></c>";
  std::string file = config(doc);
  // libxml2 refuses the amplification; the entry is never expanded into memory.
  ChildResult result = runInChild([file] { XMLSimple xml(file); }, 20);
  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(1, result.exitCode) << describe(result);
  EXPECT_NE(std::string::npos, result.err.find("Message: XMLSimple::XMLSimple : could not parse xml file"))
      << describe(result);
}

}  // namespace
