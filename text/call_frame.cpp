#include "text/call_frame.h"

namespace quillet::text {

ValueRecord call_command(Command command, std::int32_t count, ValueRecord* args) {
  ValueRecord result{0, 0, type_code::kNone};
  command(&result, count, args);
  return result;
}

}  // namespace quillet::text
