DATA: beetle
P: 3
N: 8
FORMAT: free
MISSING-CODE: 99999
INTERCEPT: yes
'VARIABLE NAME' TYPE DF
dose predictor 1
killed response 0
number denom 0
FAMILY: binomial
LINK: logit
THRESHOLDS: 1e-12 1e-12
'MAX ITERS:' 50 50
