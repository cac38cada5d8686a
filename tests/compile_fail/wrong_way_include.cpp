// A field-rules source that reaches up to the report's state: the build must
// refuse it, as it refuses every include that points up a layer. Its own
// layer's header comes first, so the refusal names the upper one.
#include "UFuncoes/field_rules.h"
#include "UPAF/process_state.h"
