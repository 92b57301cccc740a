#pragma once

#include <gtest/gtest.h>

#include <optional>

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

// The exception of class `E` that `call` throws, for checks beyond its message (a code, a number);
// nullopt, with a failure, when it throws none.
template <class E, class F> std::optional<E> ThrownBy(F&& call)
{
    try {
        call();
    } catch (const E& e) {
        return e;
    }
    ADD_FAILURE() << "no exception";
    return std::nullopt;
}
