// Fuzz target: Kestrel's and Plinth's command lines, whatever text they hold.
// Kestrel asks for the plan settings when "/PowerScheme" is anywhere in the
// line, else for the ECO settings when "/EcoMode" is; Plinth takes the first of
// /Commit, /Uninstall, /StandAlone, /Update found; both case-sensitively.
#include <cstdlib>

#include "app/command_line.h"
#include "fuzz/fuzz_input.h"
#include "installer/commands.h"

using namespace kestrel;

namespace {

bool Has(std::u16string_view text, std::u16string_view word) { return text.find(word) != std::u16string_view::npos; }

void CheckKestrel(std::u16string_view line) {
  StartRequest expected = Has(line, u"/PowerScheme") ? StartRequest::PlanSettings
                          : Has(line, u"/EcoMode")   ? StartRequest::EcoSettings
                                                     : StartRequest::None;
  StartRequest request = ParseCommandLine(line);
  if (request != expected) std::abort();
  if ((MessageOf(request) == 0) != (request == StartRequest::None)) std::abort();
}

void CheckPlinth(std::u16string_view line) {
  InstallerCommand expected = Has(line, u"/Commit")       ? InstallerCommand::Commit
                              : Has(line, u"/Uninstall")  ? InstallerCommand::Uninstall
                              : Has(line, u"/StandAlone") ? InstallerCommand::StandAlone
                              : Has(line, u"/Update")     ? InstallerCommand::Update
                                                          : InstallerCommand::None;
  InstallerCommand command = FindInstallerCommand(line);
  if (command != expected) std::abort();
  InstallerSteps plinth = StepsFor(command, InstallerBuild::Plinth);
  InstallerSteps plinthW = StepsFor(command, InstallerBuild::PlinthW);
  // The two builds differ only when no switch was recognised.
  if (command != InstallerCommand::None && !(plinth == plinthW)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The same bytes as UTF-16 (what the programs get) and widened byte by byte,
  // which keeps the switches readable to the fuzzer.
  fuzz::FuzzInput input(data, size);
  std::u16string wide = input.RestAsText();
  std::u16string widened(data, data + size);
  for (const std::u16string& line : {wide, widened}) {
    CheckKestrel(line);
    CheckPlinth(line);
  }
  return 0;
}
