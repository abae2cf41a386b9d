#include "text/SystemCodePage.h"

#include <windows.h>

#include <gtest/gtest.h>

TEST(SystemCodePage, AgreesWithTheSystem) {
    const LeadBytes& lead = SystemLeadBytes();
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(IsDBCSLeadByte(static_cast<BYTE>(b)) != 0, lead.IsLead(static_cast<unsigned char>(b))) << b;
    if (GetACP() == 932) {
        EXPECT_TRUE(lead.IsLead(static_cast<unsigned char>(0x81)));
    }
}
