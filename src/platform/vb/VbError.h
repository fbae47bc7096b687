#pragma once
// Run-time errors as the VB run-time raised them: a number, a description
// and a source. Whole-routine handlers go through OnError; statement-by-
// statement "continue on error" goes through ResumeNext, which keeps the last
// error in the program-wide Err object.

#include <QString>
#include <exception>
#include <new>
#include <string>

namespace vb {

namespace ErrNum {
constexpr qint32 InvalidProcedureCall = 5;
constexpr qint32 Overflow = 6;
constexpr qint32 OutOfMemory = 7;
constexpr qint32 SubscriptOutOfRange = 9;
constexpr qint32 DivisionByZero = 11;
constexpr qint32 TypeMismatch = 13;
constexpr qint32 ObjectVariableNotSet = 91;
constexpr qint32 BadFileNameOrNumber = 52;
constexpr qint32 FileNotFound = 53;
constexpr qint32 PermissionDenied = 70;
constexpr qint32 PathFileAccessError = 75;
constexpr qint32 PathNotFound = 76;
constexpr qint32 ResourceNotFound = 326;
constexpr qint32 CantCreateObject = 429;  // a control or component that cannot start
constexpr qint32 InvalidPicture = 481;
constexpr qint32 ObjectErrorBase = static_cast<qint32>(0x80040000u);  // vbObjectError
}  // namespace ErrNum

// The run-time's own text for an error number ("Type mismatch", ...);
// "Application-defined or object-defined error" for numbers it does not know.
QString StandardDescription(qint32 number);

class VbError : public std::exception {
public:
    VbError(qint32 number, QString description, QString source = {});
    explicit VbError(qint32 number);  // with the run-time's standard description

    qint32 number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    const QString& source() const noexcept { return source_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    qint32 number_;
    QString description_;
    QString source_;
    std::string what_;
};

[[noreturn]] void Raise(qint32 number);
[[noreturn]] void Raise(qint32 number, const QString& source, const QString& description);

// The program-wide Err object: the last error that a continue-on-error
// statement skipped (0 and "" when there was none).
class ErrObject {
public:
    qint32 Number() const { return number_; }
    const QString& Description() const { return description_; }
    const QString& Source() const { return source_; }
    void Clear();
    void Set(const VbError& e);

private:
    qint32 number_ = 0;
    QString description_;
    QString source_;
};

ErrObject& Err();

// A whole-routine error handler: runs body; a run-time error raised inside
// it (an exhausted memory counts as error 7) goes to handler instead, and the
// routine's result is then the handler's.
template <class Body, class Handler>
auto OnError(Body&& body, Handler&& handler) -> decltype(body()) {
    try {
        return body();
    } catch (const VbError& e) {
        return handler(e);
    } catch (const std::bad_alloc&) {
        return handler(VbError(ErrNum::OutOfMemory));
    }
}

// Runs one statement in continue-on-error mode: a run-time error is
// remembered in Err() and the caller goes on.
template <class Statement>
void ResumeNext(Statement&& statement) {
    OnError(statement, [](const VbError& e) { Err().Set(e); });
}

// A condition in continue-on-error mode: as in the run-time, a condition
// that fails falls through into its Then branch (true).
template <class Condition>
bool IfResumeNext(Condition&& condition) {
    bool result = true;
    ResumeNext([&] { result = condition(); });
    return result;
}

}  // namespace vb
