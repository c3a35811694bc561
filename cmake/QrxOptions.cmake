# One interface target carries the language standard, warnings and Qt safety defines.
add_library(qrx_options INTERFACE)
target_compile_features(qrx_options INTERFACE cxx_std_20)
target_compile_options(qrx_options INTERFACE -Wall -Wextra -Wpedantic)
if(QRX_WERROR)
  target_compile_options(qrx_options INTERFACE -Werror)
endif()
target_compile_definitions(qrx_options INTERFACE
  QT_NO_CAST_TO_ASCII
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_FOREACH
  QT_USE_QSTRINGBUILDER
  QT_DISABLE_DEPRECATED_UP_TO=0x060000)
if(QRX_SANITIZE)
  target_compile_options(qrx_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(qrx_options INTERFACE -fsanitize=address,undefined)
endif()
target_include_directories(qrx_options INTERFACE ${PROJECT_SOURCE_DIR}/src)
