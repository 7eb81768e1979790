#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/CommUtils.h"
#include "util/Files.h"
#include "util/Utils.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0, end;
  while ((end = text.find("\r\n", at)) != std::string::npos) {
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

}  // namespace

TEST(RunLog, LinesCarryStampThreadAndIndentOnlyWhenSwitchedOn) {
  const std::string log = ExeDir(true) + "X_kavrix-win-tests.log";
  DeleteFileA(log.c_str());

  SetLogSwitch(false);
  Log("not written");
  EXPECT_FALSE(FileExists(log));

  SetLogSwitch(true);
  const std::string before = DateTimeShort(false, NowDateTime());
  Log("first");
  SetLogIndent(" X ");
  Log("");
  const std::string after = DateTimeShort(false, NowDateTime());
  SetLogIndent("   ");
  SetLogSwitch(false);

  std::string id = std::to_string(GetCurrentThreadId());
  if (id.size() < 5) id.insert(0, 5 - id.size(), ' ');
  const auto lines = Lines(ReadFilePart(log, 0));
  ASSERT_EQ(lines.size(), 2u);
  const std::string tails[] = {" " + id + "   first", " " + id + " X "};
  for (size_t i = 0; i < 2; ++i) {
    const std::string stamp = lines[i].substr(0, before.size());
    EXPECT_TRUE(stamp == before || stamp == after) << lines[i];
    EXPECT_EQ(lines[i].substr(stamp.size()), tails[i]);
  }
  DeleteFileA(log.c_str());
}
