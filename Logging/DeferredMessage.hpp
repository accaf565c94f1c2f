#pragma once

#include <functional>
#include <memory>
#include <string>
#include <type_traits>

#include "Logging/TextForm.hpp"

namespace zelvana::logging {

// A message or a computation that yields one.
template <typename M>
concept MessageSource = Printable<std::remove_cvref_t<M>> ||
    (std::is_invocable_v<std::remove_reference_t<M>&>&&
         Printable<std::remove_cvref_t<std::invoke_result_t<std::remove_reference_t<M>&>>>);

// A non-owning, copyable view of a message source that renders it to text on
// demand. Making one costs two pointers and no allocation, so a log call that
// every destination rejects stays cheap; it must not outlive the source.
class DeferredMessage {
public:
    template <MessageSource M>
    explicit DeferredMessage(M& source)
        : source_(const_cast<void*>(static_cast<const void*>(std::addressof(source)))),
          render_(&renderSource<std::remove_reference_t<M>>) {}

    std::string render() const { return render_(source_); }

private:
    template <typename M>
    static std::string renderSource(void* source) {
        auto& value = *static_cast<M*>(source);
        // Invocable first: a captureless lambda would otherwise print as a bool.
        if constexpr (std::is_invocable_v<M&>) {
            return textForm(std::invoke(value));
        } else {
            return textForm(value);
        }
    }

    void* source_;
    std::string (*render_)(void*);
};

}  // namespace zelvana::logging
