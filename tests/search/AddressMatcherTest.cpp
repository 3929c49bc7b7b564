#include "search/AddressFolding.h"

#include <gtest/gtest.h>

namespace torumin {
namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(AddressFolding, Placeholder)
{
    EXPECT_EQ(foldAddressVariants(s("北一条西")), s("北1条西"));
}

} // namespace
} // namespace torumin
