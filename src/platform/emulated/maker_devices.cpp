#include "platform/emulated/maker_devices.h"

#include <optional>

#include "platform/emulated/panel.h"

namespace kestrel {
namespace {

constexpr std::uint32_t kLampReadStatus = 0x9C40E088;
constexpr std::uint32_t kLampSet = 0x9C40E08C;
constexpr std::uint32_t kLampCheckStatus = 0x9C40E084;
constexpr std::uint32_t kLampRestore = 0x9C40E094;
constexpr std::uint32_t kLampSetPrefix = 0xE7u << 16;

constexpr std::uint32_t kProcessorModeQuery = 0x9C40E108;
constexpr std::uint32_t kProcessorModeSet = 0x9C40E10C;

struct LampColour {
  std::uint8_t command;
  std::uint8_t status;
  std::u16string_view name;
};

constexpr LampColour kLampColours[] = {
    {0x80, 0x00, u"dark"}, {0x81, 0x71, u"blue"}, {0x84, 0x74, u"light blue"}, {0x82, 0x72, u"green"}};

std::vector<std::uint8_t> Word(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

std::optional<std::uint32_t> ExactWord(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() != 4) return std::nullopt;
  return std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) | (std::uint32_t{bytes[2]} << 16) |
         (std::uint32_t{bytes[3]} << 24);
}

std::uint32_t DwordOr(const RegKey& key, std::u16string_view name, std::uint32_t fallback) {
  std::uint32_t value = 0;
  return key.ReadDword(name, value) == kSuccess ? value : fallback;
}

Status AnswerWord(std::uint32_t value, std::vector<std::uint8_t>& output) {
  output = Word(value);
  return kSuccess;
}

}  // namespace

Status EmulatedLamp::Control(RegKey& stateKey, std::uint32_t code, const std::vector<std::uint8_t>& input,
                             std::vector<std::uint8_t>& output) {
  switch (code) {
    case kLampReadStatus:
      return AnswerWord(DwordOr(stateKey, u"Status", 0x00), output);
    case kLampCheckStatus:
      if (ExactWord(input) != 0u) return kErrorInvalidParameter;
      return AnswerWord(DwordOr(stateKey, u"Status", 0x00), output);
    case kLampSet: {
      std::optional<std::uint32_t> word = ExactWord(input);
      if (!word || (*word & 0xFFFFFF00u) != kLampSetPrefix) return kErrorInvalidParameter;
      for (const LampColour& colour : kLampColours) {
        if (colour.command != (*word & 0xFF)) continue;
        stateKey.WriteDword(u"Status", colour.status);
        stateKey.WriteString(u"Colour", colour.name);
        return AnswerWord(colour.status, output);
      }
      return kErrorInvalidParameter;
    }
    case kLampRestore:
      stateKey.WriteDword(u"Restores", DwordOr(stateKey, u"Restores", 0) + 1);
      return AnswerWord(0, output);
    default:
      return kErrorInvalidFunction;
  }
}

Status EmulatedProcessorMode::Control(RegKey& stateKey, std::uint32_t code, const std::vector<std::uint8_t>& input,
                                      std::vector<std::uint8_t>& output) {
  switch (code) {
    case kProcessorModeQuery:
      return AnswerWord(DwordOr(stateKey, u"Features", 1), output);
    case kProcessorModeSet: {
      std::optional<std::uint32_t> mode = ExactWord(input);
      if (!mode) return kErrorInvalidParameter;
      stateKey.WriteDword(u"CpuMode", *mode);
      return AnswerWord(*mode, output);
    }
    default:
      return kErrorInvalidFunction;
  }
}

void InstallEmulatedDevices(EmulatedDevices& devices) {
  devices.Install(u"\\\\.\\VEXAECFILTER", std::make_unique<EmulatedLamp>());
  devices.Install(u"\\\\.\\VEXAPSRD", std::make_unique<EmulatedProcessorMode>());
  devices.Install(u"\\\\.\\LCD", std::make_unique<EmulatedLcd>());
}

}  // namespace kestrel
