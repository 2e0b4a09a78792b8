#include "about/InfoAdd.h"

namespace about {

TInfoAdds::TInfoAdds() {
  const char* const paragraphs[] = {
      "Liebe Leserin, lieber Leser,\r\rschön, dass Sie hinter die Kulissen schauen. Hier erzähle ich Ihnen "
      "kurz, wie das Programm entstand.",
      "Am Anfang stand eine einfache Frage: Wie viel Platz ist noch frei?\rDie Antwort sollte schnell da "
      "sein, "
      "ohne Umwege und ohne Ballast.",
      "Also schrieb ich ein kleines Werkzeug, das jedes Laufwerk zeigt und alles nennt, was Windows darüber "
      "weiß: Typ, Name, Dateisystem, Cluster, Füllung.",
      "Mir war es wichtig, dass es klein bleibt. Es braucht keine Installation, schreibt nichts in die "
      "Registrierung und legt keine Dateien an, außer zwei leeren Ordnern.",
      "Die Tabellen lassen sich mit einem Klick in die Zwischenablage kopieren, für eine "
      "Tabellenkalkulation.",
      "Oder für eine Mail an den Kollegen, der wissen will, warum die Platte schon wieder voll ist. Die "
      "Antwort "
      "steht dann schwarz auf weiß.",
      "Ein Programm wird nie ganz fertig.\rJede Rückmeldung hat es ein Stück besser gemacht; danke jedem, "
      "der "
      "mir schreibt.",
      "Was fehlt Ihnen hier noch?",
      "Schreiben Sie mir, was Sie vermissen oder was Sie stört. Jede Zuschrift wird gelesen, und manche "
      "Ideen "
      "sind längst umgesetzt.",
      "Wenn Sie einen Fehler finden, hilft mir eine kurze Beschreibung:\rwelches Laufwerk, welche "
      "Windows-Version, was geschah da?",
      "Die Seiten, die Sie gerade lesen, blättern Sie mit den Pfeilen\roder mit Bild auf und Bild ab bequem "
      "um.",
      "Die Taste I zeigt übrigens, wann genau diese Fassung des Programms gebaut wurde. Probieren Sie's!",
      "Auf der Seite \"System\" sehen Sie, wie viel Speicher frei ist und wie schnell Ihr Prozessor taktet.",
      "Neuigkeiten und neue Fassungen finden Sie auf www.quelix.de, ein Klick hier genügt.",
      "Ich wünsche Ihnen viel Freude mit Quelix Disk-Info und stets genug freien Platz auf den Laufwerken.\r"
      "Ihr\rJonas",
  };
  for (const char* paragraph : paragraphs) Add(paragraph);
}

const TInfoAdds InfoAdds;

}  // namespace about
