// The subsystems the main window's handlers reach that are part of the
// program now; what is not overridden here keeps the "not present" defaults.
#pragma once
#include "app/dispatch/dispatch_subsystems.h"
#include "ui/model/eco_level_library.h"

namespace kestrel {

class ProgramSubsystems : public DispatchSubsystems {
 public:
  explicit ProgramSubsystems(EcoLevelLibrary& ecoLevel) : ecoLevel_(ecoLevel) {}

  void FinalizeEcoLevelLibrary() override { ecoLevel_.Finalize(); }

 private:
  EcoLevelLibrary& ecoLevel_;
};

}  // namespace kestrel
