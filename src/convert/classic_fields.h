// How the classic rules take a decoded field. A field they read "when
// present" counts only when a delimiter closed it (Field::Closed). A field
// they read whatever comes converts, when the sentence has no such field,
// the text after the sentence's last delimiter: the checksum digits or a
// last field cut short, as one shared field buffer would still hold them.
#pragma once

#include <cstdint>

#include "convert/decoded_field.h"
#include "convert/numeric_fields.h"

namespace quorval::classic {

inline double Real(const Field& field) { return field.Sent() ? field.real : ParseReal(field.text); }

// The field must be of Kind::kInteger.
inline int32_t Integer(const Field& field) { return field.Sent() ? field.integer : ParseInt(field.text); }

}  // namespace quorval::classic
