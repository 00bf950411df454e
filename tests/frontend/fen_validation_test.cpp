#include "frontend/fen_validation.h"

#include <gtest/gtest.h>

TEST(FenValidation, Placeholder) { EXPECT_FALSE(frontend::IsValidFEN("")); }
