// Error numbers and the HRESULTs they travel as between COM objects.

#include <gtest/gtest.h>

#include "platform/Error.h"

namespace {

TEST(ErrorNumbers, TravelAsHResultsAndBack) {
  const std::int32_t kFail = static_cast<std::int32_t>(0x80004005u);
  const std::int32_t kDenied = static_cast<std::int32_t>(0x80070005u);  // an HRESULT already
  const std::int32_t cases[][3] = {  // number, HRESULT, the number it brings back
      {5, static_cast<std::int32_t>(0x800A0005u), 5},
      {65535, static_cast<std::int32_t>(0x800AFFFFu), 65535},
      {kDenied, kDenied, kDenied},
      {0, kFail, kFail},  // no error: E_FAIL, never success
      {70000, kFail, kFail}};
  for (const auto& [number, hr, back] : cases) {
    EXPECT_EQ(hr, HResultOfError(number)) << number;
    EXPECT_EQ(back, ErrorOfHResult(HResultOfError(number))) << number;
  }
}

}  // namespace
