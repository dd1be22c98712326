// Every handler runs through guard: an exception that escapes it ends in the
// standard error box with its own message, and the window stays usable.
#pragma once

#include "widgets/prompts.h"

#include <exception>
#include <utility>

class QWidget;

namespace varnok {

template <typename Body>
void guard(Prompts &prompts, QWidget *parent, Body &&body)
{
    try {
        std::forward<Body>(body)();
    } catch (const std::exception &e) {
        prompts.error(parent, QString::fromUtf8(e.what()));
    } catch (...) {
        prompts.error(parent, QString());
    }
}

}  // namespace varnok
