#include "shell/ProgramMessages.h"

#include <array>

#include "shell/ShellState.h"

namespace vs {

namespace {

struct MessageRow {
  Msg id;
  std::string_view italian, english, spanish;
};

// One row a message, in the order of Msg.
constexpr std::array<MessageRow, kMessageCount> kMessages = {{
    {Msg::NotANumber, "{1}: \"{2}\" non è un numero.", "{1}: \"{2}\" is not a number.",
     "{1}: \"{2}\" no es un número."},
    {Msg::NotAValidValue, "{1}: \"{2}\" non è un valore valido.",
     "{1}: \"{2}\" is not a valid value.", "{1}: \"{2}\" no es un valor válido."},
    {Msg::AtMostSeconds, "{1}: al massimo {2} s.", "{1}: at most {2} s.",
     "{1}: como máximo {2} s."},
    {Msg::NotWholeNumber, "{1}: \"{2}\" non è un numero intero.",
     "{1}: \"{2}\" is not a whole number.", "{1}: \"{2}\" no es un número entero."},
    {Msg::NotNumeric, "{1}: valore non numerico.", "{1}: not a numeric value.",
     "{1}: valor no numérico."},
    {Msg::FileNotWritten, "File non scritto:\n{1}\n{2}", "File not written:\n{1}\n{2}",
     "Archivo no escrito:\n{1}\n{2}"},
    {Msg::LogNotWritten, "Registro delle letture non scritto:\n{1}\n{2}\nLa misura continua.",
     "Reading log not written:\n{1}\n{2}\nThe measurement goes on.",
     "Registro de lecturas no escrito:\n{1}\n{2}\nLa medición continúa."},
    {Msg::SettingsNotSaved, "Impostazioni non salvate nel file:\n{1}\n{2}",
     "Settings not saved in the file:\n{1}\n{2}",
     "Configuración no guardada en el archivo:\n{1}\n{2}"},
    {Msg::CopiesNotANumber, "Numero di copie non valido: \"{1}\"",
     "Number of copies not valid: \"{1}\"", "Número de copias no válido: \"{1}\""},
    {Msg::CopiesTooMany, "Numero di copie non valido: al massimo {1}",
     "Number of copies not valid: at most {1}", "Número de copias no válido: como máximo {1}"},
    {Msg::PrintFailed, "Stampa non riuscita:\n{1}", "Printing failed:\n{1}",
     "La impresión ha fallado:\n{1}"},
    {Msg::LanguageFileMissing,
     "File dei testi mancante o illeggibile:\n{1}\nI menu mostrano i nomi dei testi.",
     "Screen text file missing or unreadable:\n{1}\nThe menus show the names of the texts.",
     "Archivo de textos ausente o ilegible:\n{1}\nLos menús muestran los nombres de los textos."},
    {Msg::LanguageSectionEmpty,
     "Nessun testo della lingua {1} nel file:\n{2}\nI menu mostrano i nomi dei testi.",
     "No texts of the language {1} in the file:\n{2}\nThe menus show the names of the texts.",
     "Ningún texto del idioma {1} en el archivo:\n{2}\nLos menús muestran los nombres de los "
     "textos."},
    {Msg::LanguageTextsMissing,
     "Mancano {1} dei {2} testi della lingua {3} nel file:\n{4}\nAlcune scritte possono "
     "essere vuote o sbagliate.",
     "{1} of the {2} texts of the language {3} are missing in the file:\n{4}\nSome captions "
     "may be blank or wrong.",
     "Faltan {1} de los {2} textos del idioma {3} en el archivo:\n{4}\nAlgunos textos pueden "
     "estar vacíos o equivocados."},
    {Msg::RuntimeError, "Errore {1}: {2}", "Error {1}: {2}", "Error {1}: {2}"},
}};

constexpr bool InOrder() {
  for (int i = 0; i < kMessageCount; ++i)
    if (static_cast<int>(kMessages[static_cast<std::size_t>(i)].id) != i) return false;
  return true;
}
static_assert(InOrder(), "kMessages must list the messages in the order of Msg");

}  // namespace

std::string MessageText(std::int16_t languageCode, Msg m,
                        std::initializer_list<std::string_view> args) {
  const MessageRow& row = kMessages[static_cast<std::size_t>(m)];
  const std::string_view text = languageCode == 2   ? row.english
                                : languageCode == 3 ? row.spanish
                                                    : row.italian;
  std::string out;
  out.reserve(text.size() + 64);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{' && i + 2 < text.size() && text[i + 2] == '}' && text[i + 1] >= '1' &&
        text[i + 1] <= '9') {
      const auto n = static_cast<std::size_t>(text[i + 1] - '1');
      if (n < args.size()) out += *(args.begin() + n);
      i += 2;
      continue;
    }
    out += text[i];
  }
  return out;
}

std::string MessageText(const ShellState& s, Msg m, std::initializer_list<std::string_view> args) {
  return MessageText(s.LanguageCode, m, args);
}

}  // namespace vs
