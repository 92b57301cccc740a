# Installs Tickerpost as a desktop program in the GNU install folders: the executable and the
# command-line sender tickerpost-send, its desktop entry, its icon in the hicolor theme (SVG and each PNG size) and its AppStream metainfo. Qt's
# German texts come from Qt's own translations folder (qt6-translations-l10n), where the program
# looks for them.
include(GNUInstallDirs)

install(TARGETS Tickerpost TickerpostSend RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/${TP_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${TP_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES data/icons/tickerpost.svg DESTINATION ${icons}/scalable/apps RENAME ${TP_APP_ID}.svg)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES data/icons/tickerpost-${size}.png DESTINATION ${icons}/${size}x${size}/apps
            RENAME ${TP_APP_ID}.png)
endforeach()
