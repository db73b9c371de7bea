// The two reading threads.
#include "shell/posix/Prefetch.h"

#include <future>
#include <memory>

#include "shell/core/Host.h"

namespace shell {

void PrefetchOnThreads(Host& host) {
    FontCache& fonts = host.Fonts();
    auto fontsRead = std::async(std::launch::async, [&fonts] { fonts.Preload("Arial"); }).share();
    const host::ResourceDirectory* directory = host.Resources();
    auto pictures = std::async(std::launch::async, [directory] {
                        return ImageLibrary::DecodeAll(directory);
                    }).share();
    host.Images().Expect([pictures] { return pictures.get(); });
    host.WaitBeforeTeardown([fontsRead, pictures] {
        fontsRead.wait();
        pictures.wait();
    });
}

}  // namespace shell
