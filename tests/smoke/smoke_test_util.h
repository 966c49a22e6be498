#pragma once
// Language texts that name their own index ("T135"), so a test sees which text a step chose.
#include <string>

#include "smoke/SeriesTypes.h"

namespace vs::smoke::test {

inline LangTexts NumberedTexts() {
  LangTexts texts;
  for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = "T" + std::to_string(i);
  return texts;
}

}  // namespace vs::smoke::test
