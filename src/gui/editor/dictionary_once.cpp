#include "editor/dictionary_once.h"

#include "platform/message_box.h"
#include "speaking/app_context.h"

namespace yomi6 {

void LoadDictionaryOnce(AppContext& context, QWidget* parent) {
    if (context.DictionaryLoaded()) {
        return;
    }
    context.SetDictionaryLoaded(); // set first: a failed load is not repeated for later views
    MessageBoxSink sink(parent);
    context.UserDictionary().Load(sink);
}

} // namespace yomi6
