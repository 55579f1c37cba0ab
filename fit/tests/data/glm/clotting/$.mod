DATA: clotting
P: 3
N: 18
FORMAT: free
MISSING-CODE: 99999
INTERCEPT: yes
'VARIABLE NAME' TYPE DF
time response 0
lu predictor 1
lot factor 1
FAMILY: gamma
LINK: inverse
THRESHOLDS: 1e-12 1e-12
'MAX ITERS:' 50 50
