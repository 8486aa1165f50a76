// Error numbers and the HRESULTs they travel as between COM objects.

#include <gtest/gtest.h>

#include "platform/Error.h"

namespace {

TEST(ErrorNumbers, TravelAsHResultsAndBack) {
  const struct {
    std::int32_t number;
    std::uint32_t hr;
    std::int32_t back;
  } cases[] = {
      {5, 0x800A0005u, 5},
      {91, 0x800A005Bu, 91},
      {65535, 0x800AFFFFu, 65535},
      {static_cast<std::int32_t>(0x80070005u), 0x80070005u,
       static_cast<std::int32_t>(0x80070005u)},  // an HRESULT already
      {0, 0x80004005u, static_cast<std::int32_t>(0x80004005u)},  // no error: E_FAIL, never success
      {70000, 0x80004005u, static_cast<std::int32_t>(0x80004005u)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(static_cast<std::int32_t>(c.hr), HResultOfError(c.number));
    EXPECT_EQ(c.back, ErrorOfHResult(HResultOfError(c.number)));
  }
}

}  // namespace
