// The tests of this program share one server, stopped when they end.
#include <gtest/gtest.h>

#include "support/pg_server.h"

namespace {

class SharedServerEnvironment : public ::testing::Environment {
public:
    void TearDown() override { zt::test::PgServer::stopShared(); }
};

[[maybe_unused]] const auto* const registered = ::testing::AddGlobalTestEnvironment(new SharedServerEnvironment);

}  // namespace
