#pragma once

#include <gtest/gtest.h>

// Expects `statement` to throw `exceptionClass` whose Message() is exactly `message`.
#define EXPECT_THROW_MESSAGE(statement, exceptionClass, message)                                             \
    do {                                                                                                     \
        try {                                                                                                \
            statement;                                                                                       \
            ADD_FAILURE() << "no exception from " #statement;                                                \
        } catch (const exceptionClass& e) {                                                                  \
            EXPECT_EQ(e.Message(), message);                                                                 \
        }                                                                                                    \
    } while (false)
