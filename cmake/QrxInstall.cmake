# `cmake --install <build> --prefix <folder>` fills <folder> with what the installation disc (or a
# USB stick) carries: the program at the root with its settings file, documents and starters.
set(QRX_DIST_DIR ${PROJECT_SOURCE_DIR}/dist)

if(TARGET qrx-setup)
  install(TARGETS qrx-setup RUNTIME DESTINATION .)
endif()

install(FILES
  ${QRX_DIST_DIR}/qrx-setup.ini
  ${QRX_DIST_DIR}/License.rtf
  ${QRX_DIST_DIR}/Registration.html
  ${QRX_DIST_DIR}/README.txt
  ${QRX_DIST_DIR}/qrx-setup.desktop
  DESTINATION .)
install(PROGRAMS
  ${QRX_DIST_DIR}/autorun.sh
  ${QRX_DIST_DIR}/pdf-viewer-setup.sh
  DESTINATION .)
install(FILES ${QRX_DIST_DIR}/QIG/README.txt DESTINATION QIG)

# The guides are made at build time by qrx-userguide (tools/userguide).
if(TARGET qrx-guides)
  install(FILES ${QRX_USER_GUIDE_PDF} DESTINATION .)
  install(FILES ${QRX_QIG_PDF} DESTINATION QIG)
endif()
