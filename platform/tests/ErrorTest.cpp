// Error numbers: the run-time errors raised by name, and the HRESULTs errors travel as between
// COM objects.

#include <gtest/gtest.h>

#include "platform/Error.h"

namespace {

TEST(ErrorNumbers, TheNamedOnesAreTheHostLanguagesAndTravelAsHResultsAndBack) {
  const auto hr = [](std::uint32_t h) { return static_cast<std::int32_t>(h); };
  const std::int32_t kFail = hr(0x80004005);  // no error travels as E_FAIL, never as success
  const std::int32_t cases[][3] = {  // number, HRESULT, the number it brings back
      {5, hr(0x800A0005), 5},         {65535, hr(0x800AFFFF), 65535},
      {0, kFail, kFail},              {70000, kFail, kFail},
      {hr(0x80070005), hr(0x80070005), hr(0x80070005)}};  // an HRESULT already
  for (const auto& [number, hResult, back] : cases) {
    EXPECT_EQ(hResult, HResultOfError(number)) << number;
    EXPECT_EQ(back, ErrorOfHResult(hResult)) << number;
  }
  // The named errors raise the host language's numbers.
  const std::pair<void (*)(const wchar_t*), std::int32_t> raisers[] = {
      {RaiseInvalidCall, 5},   {RaiseTypeMismatch, 13},    {RaiseObjectNotSet, 91},
      {RaiseNotSupported, 438}, {RaiseArgumentMissing, 449}};
  for (const auto& [raise, number] : raisers) {
    try {
      raise(L"Here");
    } catch (const VbError& e) {
      EXPECT_EQ(number, e.Number());
    }
  }
}

}  // namespace
