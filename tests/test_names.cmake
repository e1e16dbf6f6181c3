# Each name sequence needs a fresh process-wide counter: one run per sequence, selected by its
# exact filter (the sequences are registered only when named so).
foreach(sequence SeedFive SeedZero NoSeedObject NegativeSeed EmptyEngineChangesNothing)
  velmora_test_run(${name}_${sequence} ${name} FILTER FreshProcessNames.${sequence})
endforeach()
