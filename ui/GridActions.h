#pragma once

#include <QString>
#include <exception>
#include <functional>

// What a grid needs from its window: where errors go, and a question with
// OK and Cancel (true for OK). Without confirm nothing is ever deleted.
struct GridActions {
    std::function<void(std::exception_ptr)> showError;
    std::function<bool(const QString& question)> confirm;
};
