if(KEYHAVEN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  # -O1 and line tables only: what the sanitizers' reports need, built in about half the time of -O2 -g.
  add_compile_options(-O1 -g1)
  add_link_options(-fsanitize=address,undefined)
endif()
