// Arbitrary bytes as a Windows module: looking resources up by number and
// by name, and reading their data, stays inside the bytes (the address
// sanitizer watches every byte read) and ends.

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "platform/resources/PeModule.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<platform::PeModule> module =
        platform::PeModule::FromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!module) return 0;
    static const char* const kNames[] = {"#101", "#7", "#1", "SkinShape", "A", "#65535"};
    for (const quint16 type : {quint16(10), quint16(3)}) {
        for (const char* text : kNames) {
            const std::optional<platform::ResourceName> name = platform::ResourceName::FromText(QString::fromLatin1(text));
            Require(name.has_value());
            const std::optional<platform::PeModule::Resource> found = module->FindResource(type, *name);
            if (!found) continue;
            const std::optional<QByteArrayView> bytes = module->LoadResource(*found);
            if (!bytes) continue;
            Require(bytes->size() == qsizetype(found->size));
            unsigned sum = 0;
            for (const char c : *bytes) sum += static_cast<unsigned char>(c);
            volatile unsigned keep = sum;
            (void)keep;
        }
    }
    return 0;
}
