#include "conversion/settings_record.h"

#include <gtest/gtest.h>

TEST(SettingsRecord, Placeholder) { SUCCEED(); }
