#include "bench/VbpGenerator.h"

#include <array>
#include <string_view>

namespace bench {
namespace {

// A small linear congruential generator: the same numbers from the same seed everywhere, which
// <random>'s distributions do not promise.
class Dice {
 public:
  explicit Dice(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
  std::uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  std::size_t Below(std::size_t n) { return Next() % n; }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) { return items[Below(N)]; }

 private:
  std::uint32_t state_;
};

struct Library {
  std::string_view guid, version, file, description;
};

constexpr std::array<Library, 8> kReferences = {{
    {"{00020430-0000-0000-C000-000000000046}", "2.0", "..\\..\\..\\..\\WINDOWS\\system32\\stdole2.tlb",
     "OLE Automation"},
    {"{2A75196C-D9EB-4129-B803-931327F72D5C}", "2.8",
     "C:\\Program Files\\Common Files\\System\\ado\\msado15.dll",
     "Microsoft ActiveX Data Objects 2.8 Library"},
    {"{420B2830-E718-11CF-893D-00A0C9054228}", "1.0", "..\\..\\..\\..\\WINDOWS\\system32\\scrrun.dll",
     "Microsoft Scripting Runtime"},
    {"{F5078F18-C551-11D3-89B9-0000F81FE221}", "6.0", "..\\..\\..\\..\\WINDOWS\\system32\\msxml6.dll",
     "Microsoft XML, v6.0"},
    {"{00025E01-0000-0000-C000-000000000046}", "5.0",
     "..\\..\\..\\..\\Program Files\\Common Files\\Microsoft Shared\\DAO\\dao360.dll",
     "Microsoft DAO 3.6 Object Library"},
    {"{3F4DACA7-160D-11D2-A8E9-00104B365C9F}", "5.5", "..\\..\\..\\..\\WINDOWS\\system32\\vbscript.dll\\3",
     "Microsoft VBScript Regular Expressions 5.5"},
    {"{EF53050B-882E-4776-B643-EDA472E8E3F2}", "2.7",
     "C:\\Program Files\\Common Files\\System\\ado\\msado27.tlb",
     "Microsoft ActiveX Data Objects 2.7 Library"},
    {"{0D452EE1-E08F-101A-852E-02608C4D0BB4}", "2.0", "..\\..\\..\\..\\WINDOWS\\system32\\FM20.DLL",
     "Microsoft Forms 2.0 Object Library"},
}};

constexpr std::array<Library, 6> kObjects = {{
    {"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}", "2.0", "MSCOMCTL.OCX", ""},
    {"{F9043C88-F6F2-101A-A3C9-08002B2F49FB}", "1.2", "COMDLG32.OCX", ""},
    {"{BDC217C8-ED16-11CD-956C-0000C04E4C0A}", "1.1", "TABCTL32.OCX", ""},
    {"{86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}", "2.0", "MSCOMCT2.OCX", ""},
    {"{5E9E78A0-531B-11CF-91F6-C2863C385E30}", "1.0", "MSFLXGRD.OCX", ""},
    {"{648A5603-2C6E-101B-82B6-000000000014}", "1.1", "MSCOMM32.OCX", ""},
}};

constexpr std::array<std::string_view, 12> kNouns = {
    "Customer", "Invoice", "Order", "Stock", "Supplier", "Report",
    "Ledger",   "Payment", "Login", "Option", "Search",  "Export"};
constexpr std::array<std::string_view, 6> kCompanies = {
    "Harwick Joinery Ltd", "Brennan & S\xF8rensen", "Caf\xE9 Syst\xE8mes SARL",
    "Oakfield Data Services", "M\xFCller Logistik GmbH", "Tidewater Software"};
constexpr std::array<std::string_view, 6> kProducts = {
    "Stock Manager", "Invoice Desk", "Order Tracker", "Ledger Pro", "Route Planner", "Till"};
constexpr std::array<std::string_view, 4> kTypes = {"Exe", "OleDll", "Control", "OleExe"};

constexpr std::string_view kEol = "\r\n";

void Line(std::string& out, std::string_view key, std::string_view value) {
  out.append(key).append("=").append(value).append(kEol);
}

void Quoted(std::string& out, std::string_view key, std::string_view value) {
  out.append(key).append("=\"").append(value).append("\"").append(kEol);
}

void Reference(std::string& out, const Library& r) {
  out.append("Reference=*\\G").append(r.guid).append("#").append(r.version).append("#0#");
  out.append(r.file).append("#").append(r.description).append(kEol);
}

void Object(std::string& out, const Library& o) {
  out.append("Object=").append(o.guid).append("#").append(o.version).append("#0; ");
  out.append(o.file).append(kEol);
}

// Form=frmCustomer.frm, Module=mCustomer; Modules\mCustomer.bas, Class=cCustomer;
// Classes\cCustomer.cls or UserControl=Controls\ctlCustomer.ctl, the kind picked by the dice.
void SourceFile(std::string& out, Dice& dice, const std::string& name) {
  switch (dice.Below(8)) {
    case 0: case 1: case 2:
      Line(out, "Form", "frm" + name + ".frm");
      break;
    case 3: case 4:
      Line(out, "Module", "m" + name + "; Modules\\m" + name + ".bas");
      break;
    case 5: case 6:
      Line(out, "Class", "c" + name + "; Classes\\c" + name + ".cls");
      break;
    default:
      Line(out, "UserControl", "Controls\\ctl" + name + ".ctl");
      break;
  }
}

void Header(std::string& out, Dice& dice, std::size_t references, std::size_t objects) {
  Line(out, "Type", dice.Pick(kTypes));
  Reference(out, kReferences[0]);
  for (std::size_t i = 1; i < references; ++i) Reference(out, kReferences[1 + dice.Below(7)]);
  for (std::size_t i = 0; i < objects; ++i) Object(out, dice.Pick(kObjects));
}

void Trailer(std::string& out, Dice& dice) {
  const std::string product(dice.Pick(kProducts));
  const std::string company(dice.Pick(kCompanies));
  const std::string exe = product.substr(0, product.find(' '));
  Line(out, "IconForm", "\"frmMain\"");
  Quoted(out, "Startup", "frmMain");
  Quoted(out, "HelpFile", "");
  Quoted(out, "Title", product);
  Quoted(out, "ExeName32", exe + ".exe");
  Quoted(out, "Path32", "..\\bin");
  Quoted(out, "Command32", "");
  Quoted(out, "Name", exe + "Project");
  Quoted(out, "HelpContextID", "0");
  Quoted(out, "Description", product + " for the back office, with " + std::string(dice.Pick(kNouns)) +
                                 " and " + std::string(dice.Pick(kNouns)) + " screens");
  Quoted(out, "CompatibleMode", "0");
  Line(out, "MajorVer", std::to_string(1 + dice.Below(9)));
  Line(out, "MinorVer", std::to_string(dice.Below(20)));
  Line(out, "RevisionVer", std::to_string(dice.Below(3000)));
  Line(out, "AutoIncrementVer", "1");
  Line(out, "ServerSupportFiles", "0");
  Quoted(out, "VersionComments", "Built for the 20" + std::to_string(10 + dice.Below(15)) + " season");
  Quoted(out, "VersionCompanyName", company);
  Quoted(out, "VersionFileDescription", product + " main program");
  Quoted(out, "VersionLegalCopyright", "Copyright \xA9 " + company);
  Quoted(out, "VersionProductName", product);
  for (std::string_view key : {"CompilationType", "OptimizationType", "FavorPentiumPro(tm)",
                               "CodeViewDebugInfo", "NoAliasing", "BoundsCheck", "OverflowCheck",
                               "FlPointCheck", "FDIVCheck", "UnroundedFP", "StartMode",
                               "Unattended", "Retained", "ThreadPerObject"})
    Line(out, key, "0");
  Line(out, "MaxNumberOfThreads", "1");
  out.append(kEol).append("[MS Transaction Server]").append(kEol);
  Line(out, "AutoRefresh", "1");
}

}  // namespace

std::string TypicalProject(std::uint32_t seed) {
  Dice dice(seed);
  std::string out;
  Header(out, dice, 3 + dice.Below(3), 2 + dice.Below(3));
  const std::size_t files = 8 + dice.Below(8);
  const std::size_t first = dice.Below(kNouns.size());
  for (std::size_t i = 0; i < files; ++i) {
    // Each noun once, with a second round of them numbered.
    const std::size_t k = first + i;
    std::string name(kNouns[k % kNouns.size()]);
    if (i >= kNouns.size()) name += "2";
    SourceFile(out, dice, name);
  }
  Trailer(out, dice);
  return out;
}

std::string LargeProject(std::size_t minBytes, std::uint32_t seed) {
  Dice dice(seed);
  std::string out;
  Header(out, dice, 8, 6);
  std::string trailer;
  Trailer(trailer, dice);
  for (std::size_t n = 1; out.size() + trailer.size() < minBytes; ++n) {
    // Mostly source files, with references and objects among them as large projects grow them.
    if (n % 16 == 0) {
      Reference(out, dice.Pick(kReferences));
    } else if (n % 16 == 8) {
      Object(out, dice.Pick(kObjects));
    } else {
      SourceFile(out, dice, std::string(dice.Pick(kNouns)) + std::to_string(n));
    }
  }
  return out + trailer;
}

}  // namespace bench
