#pragma once
// A whole-routine error handler: runs body; a run-time error raised inside
// it (an exhausted memory counts as error 7) goes to handler instead, and the
// routine's result is then the handler's.

#include <QString>
#include <new>

#include "platform/vb/VbError.h"

template <class Body, class Handler>
auto OnError(Body&& body, Handler&& handler) -> decltype(body()) {
    try {
        return body();
    } catch (const vb::VbError& e) {
        return handler(e);
    } catch (const std::bad_alloc&) {
        return handler(vb::VbError(vb::ErrNum::OutOfMemory));
    }
}

// "13 Type mismatch": how a logged line names the error that led to it.
inline QString NumberAndDescription(qint32 number, const QString& description) {
    return QString::number(number) + u' ' + description;
}
