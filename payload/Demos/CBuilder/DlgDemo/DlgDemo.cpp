placeholder 686
