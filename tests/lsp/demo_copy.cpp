#include "demo_copy.h"

#include <fstream>
#include <sstream>

#include "platform/platform.h"

namespace vemlo::lsp::test {
namespace {

// A value as the options file (the registry stand-in) stores it.
std::string RegistryValue(const std::string& s) {
  std::string out;
  for (char c : s) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return out;
}

}  // namespace

DemoCopy::DemoCopy() {
  vemlo::test::CopyTree(std::string(VEMLO_BINARY_DIR) + "/demo", Dir());
  std::remove(Path("registry.ini").c_str());
  const std::string help = RegistryValue(platform::ToDosPath(Path("help/FOXHELP.DBF")));
  tree.Write("registry.ini",
             "[Software\\Far\\Plugins\\VEM-LO]\n"
             "FoxHelpBases=FoxPro 2.x commands and functions (demo) > " + help + "\n"
             "FoxHelpBaseParams=" + help + "\n"
             "InsightAutoDropDown=+\n"
             "FmtTextInlineCommentPos=41, 61\n");
}

std::string ReadFile(const std::string& nativePath) {
  std::ifstream in(nativePath, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace vemlo::lsp::test
