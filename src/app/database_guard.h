#pragma once
#include <functional>

#include "app/prompter.h"
#include "store/database_error.h"

namespace app {

// Runs an operation of a window; a database failure shows the database's own text and ends it.
inline bool runShowingDatabaseErrors(Prompter& prompter, const std::function<void()>& operation) {
    try {
        operation();
        return true;
    } catch (const store::DatabaseError& e) {
        prompter.message(e.text());
        return false;
    }
}

}  // namespace app
