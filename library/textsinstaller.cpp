#include "library/textsinstaller.h"

#include "library/textstable.h"
#include "platform/storage/storage.h"

#include <QDir>

#include <iterator>

namespace {

// Public-domain poems; their authors died more than a century ago. The rich
// text is the smallest form the rich edit reads: one font, one paragraph per
// line, accented letters as code page 1252 escapes.
const TextsInstaller::Text Texts[] = {
    {"Canção do Exílio", "Gonçalves Dias", "Saudade da pátria", "Minha terra tem palmeiras,",
     R"rtf({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss MS Sans Serif;}}\f0\fs24 Minha terra tem palmeiras,\par
Onde canta o Sabi\'e1;\par
As aves, que aqui gorjeiam,\par
N\'e3o gorjeiam como l\'e1.\par
\par
Nosso c\'e9u tem mais estrelas,\par
Nossas v\'e1rzeas t\'eam mais flores,\par
Nossos bosques t\'eam mais vida,\par
Nossa vida mais amores.\par
\par
Em cismar, sozinho, \'e0 noite,\par
Mais prazer encontro eu l\'e1;\par
Minha terra tem palmeiras,\par
Onde canta o Sabi\'e1.\par
\par
Minha terra tem primores,\par
Que tais n\'e3o encontro eu c\'e1;\par
Em cismar, sozinho, \'e0 noite,\par
Mais prazer encontro eu l\'e1;\par
Minha terra tem palmeiras,\par
Onde canta o Sabi\'e1.\par
\par
N\'e3o permita Deus que eu morra,\par
Sem que eu volte para l\'e1;\par
Sem que desfrute os primores\par
Que n\'e3o encontro por c\'e1;\par
Sem qu'inda aviste as palmeiras,\par
Onde canta o Sabi\'e1.\par
})rtf"},
    {"Amor é fogo que arde sem se ver", "Luís de Camões", "Amor", "Amor é fogo que arde sem se ver,",
     R"rtf({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss MS Sans Serif;}}\f0\fs24 Amor \'e9 fogo que arde sem se ver,\par
\'e9 ferida que d\'f3i, e n\'e3o se sente;\par
\'e9 um contentamento descontente,\par
\'e9 dor que desatina sem doer.\par
\par
\'c9 um n\'e3o querer mais que bem querer;\par
\'e9 um andar solit\'e1rio entre a gente;\par
\'e9 nunca contentar-se de contente;\par
\'e9 um cuidar que ganha em se perder.\par
\par
\'c9 querer estar preso por vontade;\par
\'e9 servir a quem vence, o vencedor;\par
\'e9 ter com quem nos mata, lealdade.\par
\par
Mas como causar pode seu favor\par
nos cora\'e7\'f5es humanos amizade,\par
se t\'e3o contr\'e1rio a si \'e9 o mesmo Amor?\par
})rtf"},
    {"Ouvir Estrelas", "Olavo Bilac", "Estrelas", "\"Ora (direis) ouvir estrelas! Certo",
     R"rtf({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss MS Sans Serif;}}\f0\fs24 "Ora (direis) ouvir estrelas! Certo\par
Perdeste o senso!" E eu vos direi, no entanto,\par
Que, para ouvi-las, muita vez desperto\par
E abro as janelas, p\'e1lido de espanto...\par
\par
E conversamos toda a noite, enquanto\par
A via l\'e1ctea, como um p\'e1lio aberto,\par
Cintila. E, ao vir do sol, saudoso e em pranto,\par
Inda as procuro pelo c\'e9u deserto.\par
\par
Direis agora: "Tresloucado amigo!\par
Que conversas com elas? Que sentido\par
Tem o que dizem, quando est\'e3o contigo?"\par
\par
E eu vos direi: "Amai para entend\'ea-las!\par
Pois s\'f3 quem ama pode ter ouvido\par
Capaz de ouvir e de entender estrelas."\par
})rtf"},
};

}  // namespace

const TextsInstaller::Text* TextsInstaller::texts(int* count)
{
    *count = int(std::size(Texts));
    return Texts;
}

bool TextsInstaller::installIfMissing(const QString& databaseName, const QString& tableName)
{
    storage::Engine& engine = storage::Engine::instance();
    const std::string database = databaseName.toStdString();
    const std::string table = tableName.toStdString();
    if (!engine.usingDefaultConfiguration() || engine.tableExists(database, table))
        return false;
    const QString directory = QString::fromStdString(engine.resolveDatabase(database));
    if (!QDir().mkpath(directory))
        throw Exception(QStringLiteral("Cannot create the directory %1").arg(directory).toStdString());
    engine.createTable(database, table, TextsTable::schema());
    std::unique_ptr<storage::Table> opened = engine.openTable(database, table, storage::OpenMode::ReadWrite);
    for (const Text& text : Texts)
        opened->insert(std::nullopt, {text.titulo, text.autor, text.assunto, text.primeiraLinha, text.texto});
    return true;
}
