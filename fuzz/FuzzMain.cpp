// The libFuzzer entry of one harness executable; VELMORA_FUZZ_TARGET names the harness.
#include "fuzz/FuzzTargets.h"

#include "platform/CodePage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const velmora::fuzz::SFuzzTarget *g_target = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    g_target = velmora::fuzz::FindFuzzTarget(VELMORA_FUZZ_TARGET);
    if (!g_target) {
        std::fprintf(stderr, "No fuzz target named %s\n", VELMORA_FUZZ_TARGET);
        std::abort();
    }
    // A fixed ANSI code page, so that no input makes the readers look at the settings store.
    velmora::SetAnsiCodePage(velmora::kDefaultAnsiCodePage);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (!g_target->run(QByteArrayView(data, qsizetype(size)))) {
        std::fprintf(stderr, "The %s harness found a broken promise\n", g_target->name);
        std::abort();
    }
    return 0;
}
