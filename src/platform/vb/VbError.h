#pragma once
// Run-time errors as the VB run-time raised them: a number, a description
// and a source. Whole-routine handlers catch VbError; statement-by-statement
// "continue on error" goes through ResumeNext, which keeps the last error in
// the program-wide Err object.

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
constexpr qint32 BadFileNameOrNumber = 52;
constexpr qint32 FileNotFound = 53;
constexpr qint32 PermissionDenied = 70;
constexpr qint32 PathFileAccessError = 75;
constexpr qint32 PathNotFound = 76;
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

// Runs one statement in continue-on-error mode: a run-time error (or an
// exhausted memory) is remembered in Err() and the caller goes on.
template <class Statement>
void ResumeNext(Statement&& statement) {
    try {
        statement();
    } catch (const VbError& e) {
        Err().Set(e);
    } catch (const std::bad_alloc&) {
        Err().Set(VbError(ErrNum::OutOfMemory));
    }
}

}  // namespace vb
