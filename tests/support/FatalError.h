#pragma once
// Fatal set-up errors are thrown as heap-allocated strings; this runs a body and
// returns the message it raised, or "" when it raised none.
#include <string>

template <typename Body>
std::string fatalMessageOf(Body body) {
    try {
        body();
    } catch (const std::string* message) {
        std::string text = *message;
        delete message;
        return text;
    }
    return "";
}
