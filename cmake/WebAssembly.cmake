# Compiler settings of the WebAssembly build (emcmake, make web). The run ends by throwing
# (End, run-time errors), so exceptions are on, as WebAssembly's own: a throw costs nothing
# until it happens. libpng's and libjpeg's error exits are longjmps, which the same mechanism
# carries.
add_compile_options(-fwasm-exceptions -sSUPPORT_LONGJMP=wasm)
add_link_options(-fwasm-exceptions -sSUPPORT_LONGJMP=wasm)
