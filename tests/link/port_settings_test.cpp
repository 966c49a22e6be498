// The port settings of a speed code and the port-error message.
#include <gtest/gtest.h>

#include "link/PortSettings.h"

namespace vs {
namespace {

TEST(PortSettingsTest, UnknownSpeedCodesKeepTheCurrentSettings) {
  for (const int code : {0, 5, -1, 32767}) {
    EXPECT_EQ(PortSettingsForSpeed(code, "4800,e,7,2"), "4800,e,7,2") << code;
    EXPECT_EQ(SearchPortSettings(code), "9600,n,8,1") << code;
  }
  EXPECT_EQ(PortSettingsForSpeed(3, "4800,e,7,2"), "19200,n,8,1");
  EXPECT_EQ(SearchPortSettings(1), "1200,n,8,1");
  EXPECT_EQ(SearchPortSettings(4), "9600,n,8,1");
}

TEST(PortSettingsTest, PortErrorText) {
  EXPECT_EQ(PortOpenErrorText(12, "Porta non disponibile", "Device or resource busy"),
            "COM12 Porta non disponibile\r\nDevice or resource busy");
}

}  // namespace
}  // namespace vs
