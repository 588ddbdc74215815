#pragma once

#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

// The build's German catalogues, installed in this process while the object
// lives, as the programs install the user's language. The test's target
// names the folder the build writes them to as SKINREC_TRANSLATION_DIR.
class CGermanCatalogues
{
public:
    explicit CGermanCatalogues(const QStringList& arrCatalogues)
    {
        for (const QString& strCatalogue : arrCatalogues) {
            auto pTranslator = std::make_unique<QTranslator>();
            if (!pTranslator->load(QLocale(QLocale::German), strCatalogue, QStringLiteral("_"),
                                   QStringLiteral(SKINREC_TRANSLATION_DIR))
                || !QCoreApplication::installTranslator(pTranslator.get())) {
                m_arrMissing.append(strCatalogue);
                continue;
            }
            m_translators.push_back(std::move(pTranslator));
        }
    }
    ~CGermanCatalogues()
    {
        for (const auto& pTranslator : m_translators)
            QCoreApplication::removeTranslator(pTranslator.get());
    }
    CGermanCatalogues(const CGermanCatalogues&) = delete;
    CGermanCatalogues& operator=(const CGermanCatalogues&) = delete;

    // The catalogues that were not found or not installed.
    QStringList Missing() const { return m_arrMissing; }

private:
    std::vector<std::unique_ptr<QTranslator>> m_translators;
    QStringList m_arrMissing;
};
