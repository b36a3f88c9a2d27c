#include "Capitals.h"

namespace velmora {

char32_t CapitalLetter(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - (U'a' - U'A');
  // α-ρ and σ-ω lie 32 places above their capitals; ς has none of its own.
  if ((c >= U'α' && c <= U'ρ') || (c >= U'σ' && c <= U'ϋ')) return c - (U'α' - U'Α');
  switch (c) {
    case U'ς':
      return U'Σ';
    case U'ά':
      return U'Ά';
    case U'έ':
      return U'Έ';
    case U'ή':
      return U'Ή';
    case U'ί':
      return U'Ί';
    case U'ό':
      return U'Ό';
    case U'ύ':
      return U'Ύ';
    case U'ώ':
      return U'Ώ';
    default:
      return c;
  }
}

}  // namespace velmora
