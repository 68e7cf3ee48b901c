#pragma once
// Fixtures that start every test afresh: the process's failure record empty, or the
// host as a program that has made no call and logged nothing yet.
#include <gtest/gtest.h>

#include "host/zlvn_host.h"
#include "support/last_error.h"

class ClearedFailureRecord : public ::testing::Test {
protected:
    void SetUp() override { LastError::ProcessRecord().Clear(); }
};

class FreshHost : public ::testing::Test {
protected:
    void SetUp() override { zlvnhost::ResetHost(); }
};
