#include "about/InfoAdd.h"

namespace about {

TInfoAdds::TInfoAdds() {
  const wchar_t* const paragraphs[] = {
      L"Liebe Leserin, lieber Leser,\r\rschön, dass Sie hinter die Kulissen schauen. Hier erzähle ich Ihnen "
      L"kurz, wie das Programm entstand.",
      L"Am Anfang stand eine einfache Frage: Wie viel Platz ist noch frei?\rDie Antwort sollte schnell da "
      L"sein, "
      L"ohne Umwege und ohne Ballast.",
      L"Also schrieb ich ein kleines Werkzeug, das jedes Laufwerk zeigt und alles nennt, was Windows darüber "
      L"weiß: Typ, Name, Dateisystem, Cluster, Füllung.",
      L"Mir war es wichtig, dass es klein bleibt. Es braucht keine Installation, schreibt nichts in die "
      L"Registrierung und legt keine Dateien an, außer zwei leeren Ordnern.",
      L"Die Tabellen lassen sich mit einem Klick in die Zwischenablage kopieren, für eine "
      L"Tabellenkalkulation.",
      L"Oder für eine Mail an den Kollegen, der wissen will, warum die Platte schon wieder voll ist. Die "
      L"Antwort "
      L"steht dann schwarz auf weiß.",
      L"Ein Programm wird nie ganz fertig.\rJede Rückmeldung hat es ein Stück besser gemacht; danke jedem, "
      L"der "
      L"mir schreibt.",
      L"Was fehlt Ihnen hier noch?",
      L"Schreiben Sie mir, was Sie vermissen oder was Sie stört. Jede Zuschrift wird gelesen, und manche "
      L"Ideen "
      L"sind längst umgesetzt.",
      L"Wenn Sie einen Fehler finden, hilft mir eine kurze Beschreibung:\rwelches Laufwerk, welche "
      L"Windows-Version, was geschah da?",
      L"Die Seiten, die Sie gerade lesen, blättern Sie mit den Pfeilen\roder mit Bild auf und Bild ab bequem "
      L"um.",
      L"Die Taste I zeigt übrigens, wann genau diese Fassung des Programms gebaut wurde. Probieren Sie's!",
      L"Auf der Seite \"System\" sehen Sie, wie viel Speicher frei ist und wie schnell Ihr Prozessor taktet.",
      L"Neuigkeiten und neue Fassungen finden Sie auf www.quelix.de, ein Klick hier genügt.",
      L"Ich wünsche Ihnen viel Freude mit Quelix Disk-Info und stets genug freien Platz auf den Laufwerken.\r"
      L"Ihr\rJonas",
  };
  for (const wchar_t* paragraph : paragraphs) Add(paragraph);
}

const TInfoAdds InfoAdds;

}  // namespace about
